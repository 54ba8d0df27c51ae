#pragma once
// Window titles as the program gives them. Qt fills an empty title with the application's name
// on its way to the window system; the program's empty titles stay empty in the title bar.
class QWidget;
class QWindow;

namespace platform {

// From now on, whenever `window` has an empty title, its title bar shows nothing.
void KeepEmptyTitleEmpty(QWidget& window);

// Empties the title the window system shows for `window`; nothing where there is no title bar
// of our making to reach (offscreen, Wayland).
void ClearNativeTitle(QWindow& window);

}  // namespace platform
