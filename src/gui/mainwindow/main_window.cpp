#include "gui/mainwindow/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QMenu>
#include <QWindow>

#include "core/fog/run_record.h"
#include "core/install/installation.h"
#include "core/platform/messages.h"
#include "core/settings/language.h"
#include "core/settings/settings_file.h"
#include "core/settings/texts.h"
#include "gui/about/help_command.h"
#include "gui/texts/apply_texts.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/program_window.h"
#include "gui/widgets/qt_text.h"
#include "ui_main_window.h"

using widgets::WindowFont;

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::MainWindow>()) {
    // Before the page is made: it sizes labels to their text in the window's font.
    setFont(WindowFont());
    widgets::MarkAsProgramWindow(*this);
    ui_->setupUi(this);
    setUpControls();
    setCloseBox(true);
    // Until a language is applied the window and its boxes speak the built-in Dutch.
    texts_ = settings::BuiltInTexts(settings::TextWindow::Main);
    settings::ApplyTexts(*this, texts_);
    ui_->client->setTexts(texts_);
    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            [this](QWindow* window) { onFocusWindowChanged(window); });
}

MainWindow::~MainWindow() = default;

void MainWindow::setUpControls() {
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(ui_->client, &FogRunPage::filesReplacedChanged, this, [this](bool replaced) {
        ui_->exitAction->setEnabled(!replaced);
        setCloseBox(!replaced);
        ui_->optionsMenu->menuAction()->setVisible(!replaced);
    });

    connect(ui_->exitAction, &QAction::triggered, this,
            platform::Guarded([this] { onExitTriggered(); }));
    connect(ui_->languageGroup, &QActionGroup::triggered, this, [this](QAction* item) {
        platform::RunGuarded([this, item] { onLanguageTriggered(item); });
    });
    connect(ui_->openRailsAction, &QAction::triggered, this,
            platform::Guarded([this] { onOpenRailsTriggered(); }));
    connect(ui_->folderAction, &QAction::triggered, this,
            platform::Guarded([this] { onFolderTriggered(); }));
    // The settings file is the only copy: another copy of the program may have changed it.
    connect(ui_->optionsMenu, &QMenu::aboutToShow, this,
            platform::Guarded([this] { showOpenRailsSetting(settings::StoredSimulatorFolder()); }));
    connect(ui_->helpContentsAction, &QAction::triggered, this,
            platform::Guarded([this] { onHelpTriggered(); }));
    connect(ui_->aboutAction, &QAction::triggered, this,
            platform::Guarded([this] { onAboutTriggered(); }));
}

void MainWindow::initialize() {
    languageMenuPending_ = true;
    currentLanguage_ = settings::ReadString(settings::kProgramSection, settings::kLanguageKey);
    ui_->client->followVisibilityMouse();
    showOpenRailsSetting(settings::StoredSimulatorFolder());
    useLanguage(currentLanguage_);
}

void MainWindow::showOpenRailsSetting(const std::string& folder) {
    // Open Rails never takes its fog from the environment files, so a content folder always gets
    // its files: the item shows that without changing the stored choice.
    const bool contentFolder = install::IsContentFolder(folder);
    ui_->openRailsAction->setEnabled(!contentFolder);
    const bool chosen =
        settings::ReadBool(settings::kProgramSection, settings::kOpenRailsKey, false);
    ui_->openRailsAction->setChecked(contentFolder || chosen);
    ui_->client->setOpenRails(chosen);
}

void MainWindow::onFolderTriggered() {
    // The run's record names its folder, and a record for another folder is refused: the fog
    // has to go before the folder changes.
    if (ui_->client->filesReplaced() || fog::RunRecordPresent()) {
        platform::ShowErrorMessage(texts_.text(settings::Text::FolderWhileFogged),
                                   texts_.text(settings::Text::ErrorTitle));
        return;
    }
    emit folderChangeRequested();
}

void MainWindow::onFolderChanged(const std::string& folder) {
    ui_->client->showRoutes(folder);
    showOpenRailsSetting(folder);
}

void MainWindow::onOpenRailsTriggered() {
    const bool on = ui_->openRailsAction->isChecked();
    // Until the file holds the choice the item shows what it held; a failed write is reported
    // by the guard and leaves it so.
    ui_->openRailsAction->setChecked(!on);
    settings::WriteBool(settings::kProgramSection, settings::kOpenRailsKey, on);
    ui_->openRailsAction->setChecked(on);
    ui_->client->setOpenRails(on);
}

void MainWindow::onShown() {
    if (languageMenuPending_) {
        fillLanguageMenu(settings::PackFolder());
        languageMenuPending_ = false;
    }
}

void MainWindow::onActivated() {
    ui_->client->showRoutes(settings::StoredSimulatorFolder());
}

void MainWindow::onExitTriggered() {
    close();
}

void MainWindow::onAboutTriggered() {
    emit aboutRequested();
}

void MainWindow::onHelpTriggered() {
    about::OpenHelp(
        {texts_.text(settings::Text::HelpLanguageTitle), texts_.text(settings::Text::ErrorTitle),
         texts_.text(settings::Text::HelpNotFound)},
        this);
}

void MainWindow::setCloseBox(bool closeBox) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowMinimizeButtonHint | Qt::MSWindowsFixedSizeDialogHint;
    if (closeBox) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (windowFlags() == flags) return;
    // setWindowFlags on a window that exists on screen hides it and shows it again, and a window
    // manager can lose that second show; such a window gets its new border icons in place.
    if (QWindow* window = windowHandle(); window && testAttribute(Qt::WA_WState_Created)) {
        overrideWindowFlags(flags);
        window->setFlags(flags);
    } else {
        setWindowFlags(flags);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    bool canClose = false;
    // A failing close query keeps the window open rather than losing the user's route files.
    platform::RunGuarded([&] { canClose = mayClose(); });
    if (canClose) {
        event->accept();
        emit closed();
    } else {
        event->ignore();
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) platform::RunGuarded([this] { onShown(); });
}

void MainWindow::startActivationTracking() {
    trackingActivation_ = true;
    lastAppWindow_ = windowHandle();
    lastAppWindowIsProgramWindow_ = false;
}

void MainWindow::onFocusWindowChanged(QWindow* window) {
    if (!window) return;  // another program took the focus: that is no return to this window
    const bool cameFromProgramWindow = lastAppWindowIsProgramWindow_ && lastAppWindow_ != window;
    lastAppWindow_ = window;
    // Decided now, while the window exists: a dialog that closes is often gone before the focus
    // comes back here.
    lastAppWindowIsProgramWindow_ = false;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->windowHandle() == window && widgets::IsProgramWindow(*w)) {
            lastAppWindowIsProgramWindow_ = true;
        }
    }
    // Only a return from another window of the program counts; message boxes and menus do not.
    if (trackingActivation_ && window == windowHandle() && cameFromProgramWindow) {
        platform::RunGuarded([this] { onActivated(); });
    }
}

bool MainWindow::openUnrestoredRun() {
    return ui_->client->openUnrestoredRun();
}

void MainWindow::reportUnrestoredRun() const {
    ui_->client->reportUnrestoredRun();
}

bool MainWindow::mayClose() {
    if (!ui_->client->filesReplaced()) return true;
    platform::ShowErrorMessage(texts_.text(settings::Text::CannotQuit),
                               texts_.text(settings::Text::QuitErrorTitle));
    return false;
}

// The main window's language: applying texts, the pack checks and the language menu.
using widgets::ToQ;

void MainWindow::showLanguage(const std::string& name) {
    currentLanguage_ = name;
    // Every pack value is read anew, so an edited pack shows at the next application.
    texts_ = settings::LoadTexts(settings::TextWindow::Main, currentLanguage_);
    settings::ApplyTexts(*this, texts_);
    ui_->client->setTexts(texts_);
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
    ui_->dutchAction->setChecked(true);
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
        ui_->dutchAction->setChecked(true);
        applyLanguage(settings::kDutch);
    }
}

void MainWindow::fillLanguageMenu(const std::string& folder) {
    for (const std::string& name : settings::FindPackNames(folder)) {
        auto* item = new QAction(widgets::PathToQ(name), this);
        // The pack name's own bytes, so a name that does not decode cleanly still names its file.
        item->setData(QByteArray::fromStdString(name));
        item->setObjectName(
            QStringLiteral("Language%1").arg(ui_->languageMenu->actions().size() + 1));
        item->setCheckable(true);
        ui_->languageGroup->addAction(item);
        ui_->languageMenu->addAction(item);
        if (currentLanguage_ == name) item->setChecked(true);
    }
    // Dutch is built in: its item is checked whether or not any pack exists (the group then
    // unchecks a pack that happens to be named like it).
    if (currentLanguage_ == settings::kDutch) ui_->dutchAction->setChecked(true);
}

void MainWindow::onLanguageTriggered(QAction* item) {
    item->setChecked(true);
    if (ui_->dutchAction->isChecked()) {
        currentLanguage_ = settings::kDutch;
        applyLanguage(settings::kDutch);
        return;
    }
    currentLanguage_ = item->data().toByteArray().toStdString();
    const settings::PackFileInfo info = settings::ReadPackFileInfo(currentLanguage_);
    checkPackHeader(info.language, info.program);
}
