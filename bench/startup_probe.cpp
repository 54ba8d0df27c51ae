// The program's start-up (as main() does it) on a given program folder, ending after the main
// window's first frame. Usage: zel_startup_probe <program folder>
#include <QApplication>

#include "app/program.h"
#include "core/platform/paths.h"
#include "first_frame.h"
#include "gui/mainwindow/main_window.h"
#include "gui/platform/shell.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/qt_color.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    platform::SetProgramFolder(argv[1]);
    QApplication application(argc, argv);
    platform::InstallQtMessagePresenter();
    widgets::InstallPaletteColorResolver();
    widgets::InstallFontSubstitutes();
    Program program;
    QuitAfterFirstFrame quit(&program.mainWindow());
    return program.run();
}
