// The program's start-up (as main() does it) on a given program folder, ending after the main
// window's first frame. Usage: zel_startup_probe <program folder>
#include <QApplication>

#include "app/main_window.h"
#include "app/program.h"
#include "first_frame.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "widgets/fonts.h"
#include "widgets/qt_color.h"

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
