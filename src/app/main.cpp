// ZEL Nevora: drive a simulator route in fog, and put every file back afterwards.
#include <QApplication>

#include "app/program.h"
#include "gui/platform/shell.h"
#include "gui/widgets/accessibility.h"
#include "gui/widgets/app_icon.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/qt_color.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    platform::InstallQtMessagePresenter();
    widgets::InstallPaletteColorResolver();
    widgets::InstallFontSubstitutes();
    widgets::InstallAppIcon();
    widgets::InstallAccessibility();
    // Before any window: a second copy on the same Dump folder leaves at once.
    if (!Program::claimDumpFolder()) return 1;
    Program program;
    return program.run();
}
