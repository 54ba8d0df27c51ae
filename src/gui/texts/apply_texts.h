#pragma once
// Puts a window's texts from the text table on its controls and its title.
#include <QWidget>

#include "core/settings/texts.h"

namespace settings {

// Sets each Control text on the window's descendant of that object name (a label's or button's
// text (with its access-key marks), a group box's or menu's title, an action's text, an editable
// combo box's edit text) and the Title text as the window's title. Texts to keep, and Text rows,
// are left alone. Controls without a text of their own get their label's text as their accessible
// name.
void ApplyTexts(QWidget& window, const WindowTexts& texts);

}  // namespace settings
