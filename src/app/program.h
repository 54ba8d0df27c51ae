#pragma once
// Start-up: the program's four windows, created in a fixed order and owned here; each window is
// handed what it needs of the others.
#include <memory>

class MainWindow;
class LanguageWindow;
class InstallLocator;
class AboutWindow;

class Program {
  public:
    // Claims the Dump folder for this copy of the program for as long as it runs. When another
    // copy holds it, or its lock file is not a regular file (then the box names it), says so in a
    // box (in the language of the settings file) and returns false: the caller then ends without
    // creating a window, so nothing of the folder is written.
    static bool claimDumpFolder();

    // Creates the main window, the language window, the locator and the About window, in this
    // order; the creation handlers of the first three run (and may show modal windows) here.
    Program();
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the main window (show handler, then activation) without running the event loop.
    void showMainWindow();
    // showMainWindow, then dispatches events until the main window has closed.
    int run();

    MainWindow& mainWindow() { return *mainWindow_; }

  private:
    std::unique_ptr<MainWindow> mainWindow_;
    std::unique_ptr<LanguageWindow> languageWindow_;
    std::unique_ptr<InstallLocator> locator_;
    std::unique_ptr<AboutWindow> aboutWindow_;
};
