#include "app/Program.h"

#include <QApplication>

#include "about/zel_info.h"
#include "app/TForm1.h"
#include "install/Locatie_unit.h"
#include "mist/Form1_mist.h"
#include "mist/dump_lock.h"
#include "platform/messages.h"
#include "settings/language.h"
#include "settings/language_unit.h"
#include "settings/settings_file.h"
#include "settings/texts.h"
#include "widgets/forms.h"

TForm1* Form1 = nullptr;
Tlanguage_form* language_form = nullptr;
TLocatie_form* Locatie_form = nullptr;
TzelForm* zelForm = nullptr;

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
    form1_ = std::make_unique<TForm1>();
    Form1 = form1_.get();
    platform::RunGuarded([] { Form1->FormCreate(); });

    languageForm_ = std::make_unique<Tlanguage_form>(*Form1);
    language_form = languageForm_.get();
    platform::RunGuarded([] { language_form->FormCreate(); });

    locatieForm_ = std::make_unique<TLocatie_form>();
    Locatie_form = locatieForm_.get();
    platform::RunGuarded([] { Locatie_form->FormCreate(); });

    zelForm_ = std::make_unique<TzelForm>([] { return Form1->CurrentLanguage; });
    zelForm = zelForm_.get();

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
