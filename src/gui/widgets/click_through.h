#pragma once
// A double click on a button that takes its page away must not also press the button that comes
// up under the pointer.
#include <initializer_list>

class QAbstractButton;
class QWidget;

namespace widgets {

// Drops mouse presses on `buttons` that arrive within the system's double-click interval after
// `page` was shown or hidden while its window was on screen. Keys always reach the buttons, and
// so does the next click.
void IgnoreClickThrough(QWidget& page, std::initializer_list<QAbstractButton*> buttons);

}  // namespace widgets
