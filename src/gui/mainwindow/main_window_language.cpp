// The main window's language: applying texts, the pack checks and the language menu.
#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "core/platform/messages.h"
#include "core/settings/language.h"
#include "core/settings/settings_file.h"
#include "core/settings/texts.h"
#include "gui/mainwindow/main_window.h"
#include "gui/texts/apply_texts.h"
#include "gui/widgets/qt_text.h"

using widgets::ToQ;

void MainWindow::showLanguage(const std::string& name) {
    currentLanguage_ = name;
    // Every pack value is read anew, so an edited pack shows at the next application.
    texts_ = settings::LoadTexts(settings::TextWindow::Main, currentLanguage_);
    settings::ApplyTexts(*this, texts_);
    page_->setTexts(texts_);
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
    platform::ShowErrorMessage(texts_.text(settings::Text::PackReadError),
                               texts_.text(settings::Text::ErrorTitle));
}

void MainWindow::checkPackHeader(const std::string& language, const std::string& program) {
    bool failed = false;
    if (!settings::LanguageValuePasses(language)) {
        platform::ShowErrorMessage(texts_.text(settings::Text::PackReadError),
                                   texts_.text(settings::Text::ErrorTitle));
        failed = true;
    }
    if (!settings::ProgramValuePasses(program)) {
        platform::ShowErrorMessage(texts_.text(settings::Text::PackReadError),
                                   texts_.text(settings::Text::ErrorTitle));
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
