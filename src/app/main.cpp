// ZEL Nevora: drive a simulator route in fog, and put every file back afterwards.
#include <QApplication>

#include "app/program.h"
#include "platform/shell.h"
#include "widgets/accessibility.h"
#include "widgets/app_icon.h"
#include "widgets/fonts.h"
#include "widgets/qt_color.h"

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
