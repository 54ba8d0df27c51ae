#include "app/Program.h"

#include <QApplication>

#include "about/AboutWindow.h"
#include "app/MainWindow.h"
#include "install/InstallLocator.h"
#include "mist/FogRunPage.h"
#include "mist/dump_lock.h"
#include "platform/messages.h"
#include "settings/language.h"
#include "settings/LanguageWindow.h"
#include "settings/settings_file.h"
#include "settings/texts.h"
#include "widgets/forms.h"

MainWindow* Form1 = nullptr;
LanguageWindow* language_form = nullptr;
InstallLocator* Locatie_form = nullptr;
AboutWindow* zelForm = nullptr;

namespace {

// A main window text in `language` without applying the pack to anything; the built-in Dutch
// text when the pack gives none (missing, unreadable, or not this program's).
std::string MainWindowText(int target, const std::string& language) {
    for (const settings::PackText& row : settings::MainWindowTexts()) {
        if (row.target != target) continue;
        const std::span<const settings::PackText> one(&row, 1);
        std::string text = settings::LoadTexts(one, language).front().text;
        return text.empty() ? settings::LoadTexts(one, settings::kDutch).front().text : text;
    }
    return {};
}

}  // namespace

bool Program::ClaimDumpFolder() {
    if (mist::ClaimDumpFolder()) return true;
    const std::string language =
        settings::ReadString(settings::kProgramSection, settings::kLanguageKey);
    platform::SetApplicationTitle(settings::kProgramName);
    platform::RunGuarded([&] {
        platform::ShowErrorMessage(MainWindowText(settings::kInUseMsg, language),
                                   MainWindowText(settings::kErrorTitle, language));
    });
    return false;
}

Program::Program() {
    platform::SetApplicationTitle("ZEL Nevora");
    QApplication::setApplicationName("ZEL Nevora");
    // The About window may still be open when the main window closes; the program ends anyway.
    QApplication::setQuitOnLastWindowClosed(false);

    // A failing creation handler is reported and the window exists all the same.
    mainWindow_ = std::make_unique<MainWindow>();
    Form1 = mainWindow_.get();
    platform::RunGuarded([] { Form1->FormCreate(); });

    languageWindow_ = std::make_unique<LanguageWindow>(*Form1);
    language_form = languageWindow_.get();
    platform::RunGuarded([] { language_form->FormCreate(); });

    locator_ = std::make_unique<InstallLocator>();
    Locatie_form = locator_.get();
    platform::RunGuarded([] { Locatie_form->FormCreate(); });

    aboutWindow_ = std::make_unique<AboutWindow>([] { return Form1->CurrentLanguage; });
    zelForm = aboutWindow_.get();

    Form1->ShowAboutWindow = [] {
        zelForm->show();
        zelForm->raise();
        zelForm->activateWindow();
    };
    Form1->OnClosed = [] { QApplication::quit(); };
}

Program::~Program() {
    Form1 = nullptr;
    language_form = nullptr;
    Locatie_form = nullptr;
    zelForm = nullptr;
}

void Program::ShowMainWindow() {
    // A run that was never restored (the program was ended by force) reopens on its restore page.
    // The page and its border icons are settled before the first show: a window manager can lose
    // the window for good when it is unmapped and mapped again while the box below starts.
    bool unrestoredRun = false;
    platform::RunGuarded([&] { unrestoredRun = mist::OpenUnrestoredRun(*Form1); });
    Form1->show();
    widgets::CenterOnPrimaryScreen(*Form1);
    Form1->activateWindow();
    platform::RunGuarded([] { Form1->FormActivate(); });
    if (unrestoredRun) platform::RunGuarded([] { mist::ReportUnrestoredRun(*Form1); });
    Form1->StartActivationTracking();
}

int Program::Run() {
    ShowMainWindow();
    return QApplication::exec();
}
