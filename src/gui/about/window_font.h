#pragma once
// The windows' font: "MS Sans Serif" 8 point (11 pixels high), found through the substitutes
// where the face itself is missing.
#include <QFont>

#include "gui/widgets/fonts.h"

namespace about {

inline QFont WindowFont(bool bold = false, bool underline = false) {
    QFont font = widgets::WindowFont();
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

}  // namespace about
