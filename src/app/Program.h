#pragma once
// Start-up: the program's four windows, created in a fixed order, each reachable program-wide.
#include <memory>

class TForm1;
class Tlanguage_form;
class TLocatie_form;
class TzelForm;

extern TForm1* Form1;
extern Tlanguage_form* language_form;
extern TLocatie_form* Locatie_form;
extern TzelForm* zelForm;

class Program {
public:
    // Claims the Dump folder for this copy of the program for as long as it runs. When another
    // copy holds it, says so in a box (in the language of the settings file) and returns false:
    // the caller then ends without creating a window, so nothing of the folder is written.
    static bool ClaimDumpFolder();

    // Creates the main window, the language window, the locator and the About window, in this
    // order; the creation handlers of the first three run (and may show modal windows) here.
    Program();
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the main window (FormShow, then FormActivate) without running the event loop.
    void ShowMainWindow();
    // ShowMainWindow, then dispatches events until the main window has closed.
    int Run();

private:
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<Tlanguage_form> languageForm_;
    std::unique_ptr<TLocatie_form> locatieForm_;
    std::unique_ptr<TzelForm> zelForm_;
};
