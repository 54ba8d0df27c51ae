#include "app/program.h"

#include <QApplication>

#include "core/fog/dump_lock.h"
#include "core/fog/fog_run.h"
#include "core/platform/files.h"
#include "core/platform/messages.h"
#include "core/platform/paths.h"
#include "core/settings/language.h"
#include "core/settings/settings_file.h"
#include "core/settings/texts.h"
#include "gui/about/about_window.h"
#include "gui/install/install_locator.h"
#include "gui/mainwindow/main_window.h"
#include "gui/settings/language_window.h"
#include "gui/widgets/program_window.h"

bool Program::claimDumpFolder() {
    const fog::DumpClaim claim = fog::TryClaimDumpFolder();
    if (claim == fog::DumpClaim::Claimed) {
        // What a write of this folder's files (the record, the settings) cut short left behind;
        // only the holder of the folder may remove them.
        platform::RemoveLeftoverTemporaries(platform::DumpPath());
        fog::RemoveBackupLeftovers();
        return true;
    }
    const std::string language =
        settings::ReadString(settings::kProgramSection, settings::kLanguageKey);
    platform::SetApplicationTitle(settings::kProgramName);
    platform::RunGuarded([&] {
        const std::string text =
            claim == fog::DumpClaim::InUse
                ? settings::LoadTextOrBuiltIn(settings::Text::AlreadyRunning, language)
                : settings::LoadTextOrBuiltIn(settings::Text::DumpLockFailed, language) + "\n" +
                      platform::LiteralForFormat(fog::DumpLockPath());
        platform::ShowErrorMessage(
            text, settings::LoadTextOrBuiltIn(settings::Text::ErrorTitle, language));
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
    MainWindow& window = *mainWindow_;
    platform::RunGuarded([&] { window.initialize(); });

    languageWindow_ = std::make_unique<LanguageWindow>(window);
    platform::RunGuarded([this] { languageWindow_->initialize(); });

    locator_ = std::make_unique<InstallLocator>();
    platform::RunGuarded([this] { locator_->initialize(); });

    // The About window goes before the main window (members end in reverse order), so the
    // language it asks for never outlives the window that answers.
    aboutWindow_ = std::make_unique<AboutWindow>([&window] { return window.currentLanguage(); });

    QObject::connect(&window, &MainWindow::aboutRequested, aboutWindow_.get(),
                     [about = aboutWindow_.get()] {
                         about->show();
                         about->raise();
                         about->activateWindow();
                     });
    QObject::connect(&window, &MainWindow::folderChangeRequested, locator_.get(),
                     platform::Guarded([this, &window] {
                         if (const auto folder = locator_->chooseAgain())
                             window.onFolderChanged(*folder);
                     }));
    QObject::connect(&window, &MainWindow::closed, qApp, &QApplication::quit);
}

Program::~Program() = default;

void Program::showMainWindow() {
    // A run that was never restored (the program was ended by force) reopens on its restore page.
    // The page and its border icons are settled before the first show: a window manager can lose
    // the window for good when it is unmapped and mapped again while the box below starts.
    MainWindow& window = *mainWindow_;
    bool unrestoredRun = false;
    platform::RunGuarded([&] { unrestoredRun = window.openUnrestoredRun(); });
    window.show();
    widgets::CenterOnPrimaryScreen(window);
    window.activateWindow();
    platform::RunGuarded([&] { window.onActivated(); });
    if (unrestoredRun) platform::RunGuarded([&] { window.reportUnrestoredRun(); });
    window.startActivationTracking();
}

int Program::run() {
    showMainWindow();
    return QApplication::exec();
}
