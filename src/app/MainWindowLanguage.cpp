// The main window's language: applying texts, the pack checks and the Options > Taal menu.
#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "app/MainWindow.h"
#include "platform/messages.h"
#include "settings/language.h"
#include "settings/settings_file.h"
#include "settings/texts.h"
#include "widgets/qtext.h"

using widgets::ToQ;

void MainWindow::applyText(int target, const std::string& text) {
    page_->applyText(target, text);
    using namespace settings;
    switch (static_cast<MainTarget>(target)) {
        case kFileMenu: fileMenu_->setTitle(ToQ(text)); break;
        case kExitAction: exitAction_->setText(ToQ(text)); break;
        case kOptionsMenu: optionsMenu_->setTitle(ToQ(text)); break;
        case kLanguageMenu: languageMenu_->setTitle(ToQ(text)); break;
        case kHelpMenu: helpMenu_->setTitle(ToQ(text)); break;
        case kHelpContentsAction: helpContentsAction_->setText(ToQ(text)); break;
        case kAboutAction: aboutAction_->setText(ToQ(text)); break;
        case kOpenRailsAction: openRailsAction_->setText(ToQ(text)); break;
        case kErrorTitle: texts_.errorTitle = text; break;
        case kNoCloseMsg: texts_.noCloseMsg = text; break;
        case kCloseTitle: texts_.closeTitle = text; break;
        case kLanguageDlgTitle: texts_.languageDlgTitle = text; break;
        case kLanguageReadErrMsg: texts_.languageReadErrMsg = text; break;
        case kHelpNotFoundMsg: texts_.helpNotFoundMsg = text; break;
        default: break;
    }
}

void MainWindow::showLanguage(const std::string& name) {
    currentLanguage_ = name;
    // Every pack value is read anew, so an edited pack shows at the next application.
    for (const auto& text : settings::LoadTexts(settings::MainWindowTexts(), currentLanguage_)) {
        applyText(text.target, text.text);
    }
    page_->updateVisibilityDisplay();
}

void MainWindow::applyLanguage(const std::string& name) {
    showLanguage(name);
    settings::WriteString(settings::kProgramSection, settings::kLanguageKey, currentLanguage_);
}

void MainWindow::checkPackFile(const std::string& name) {
    if (settings::PackFileExists(name)) {
        // The pack speaks at once, so the header check refuses it in its own words; it is
        // stored once that check has passed, so a settings file that cannot be written does not
        // stop the check from running.
        showLanguage(name);
        return;
    }
    dutchAction_->setChecked(true);
    applyLanguage(settings::kDutch);
    platform::ShowErrorMessage(texts_.languageReadErrMsg, texts_.errorTitle);
}

void MainWindow::checkPackHeader(const std::string& language, const std::string& program) {
    bool failed = false;
    if (!settings::LanguageValuePasses(language)) {
        platform::ShowErrorMessage(texts_.languageReadErrMsg, texts_.errorTitle);
        failed = true;
    }
    if (!settings::ProgramValuePasses(program)) {
        platform::ShowErrorMessage(texts_.languageReadErrMsg, texts_.errorTitle);
        failed = true;
    }
    if (!failed) {
        applyLanguage(currentLanguage_);
    } else {
        dutchAction_->setChecked(true);
        applyLanguage(settings::kDutch);
    }
}

void MainWindow::fillLanguageMenu(const std::string& folder) {
    for (const std::string& name : settings::FindPackNames(folder)) {
        auto* item = new QAction(widgets::PathToQ(name), this);
        // The pack name's own bytes, so a name that does not decode cleanly still names its file.
        item->setData(QByteArray::fromStdString(name));
        item->setObjectName(QStringLiteral("Language%1").arg(languageMenu_->actions().size() + 1));
        item->setCheckable(true);
        languageGroup_->addAction(item);
        languageMenu_->addAction(item);
        if (currentLanguage_ == name) item->setChecked(true);
    }
    // Dutch is built in: its item is checked whether or not any pack exists (the group then
    // unchecks a pack that happens to be named like it).
    if (currentLanguage_ == settings::kDutch) dutchAction_->setChecked(true);
}

void MainWindow::onLanguageTriggered(QAction* item) {
    item->setChecked(true);
    if (dutchAction_->isChecked()) {
        currentLanguage_ = settings::kDutch;
        applyLanguage(settings::kDutch);
        return;
    }
    currentLanguage_ = item->data().toByteArray().toStdString();
    const settings::PackFileInfo info = settings::ReadPackFileInfo(currentLanguage_);
    checkPackHeader(info.language, info.program);
}
