#pragma once

#include <QIcon>

namespace widgets {

// The program's icon, the locomotive of the About window, at the usual sizes (16 to 256).
QIcon AppIcon();

// Makes it the icon of every window and message box of the program (title bar, task bar,
// window switcher). Call once, after the application object exists.
void InstallAppIcon();

}  // namespace widgets
