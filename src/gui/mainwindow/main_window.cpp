#include "gui/mainwindow/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
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

using widgets::WindowFont;

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName("MainWindow");
    setWindowTitle("ZEL Nevora");
    setFont(WindowFont());
    widgets::MarkAsProgramWindow(*this);
    buildControls();
    buildMenu();
    setCloseBox(true);
    // Until a language is applied the window and its boxes speak the built-in Dutch.
    texts_ = settings::BuiltInTexts(settings::TextWindow::Main);
    settings::ApplyTexts(*this, texts_);
    page_->setTexts(texts_);
    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            [this](QWindow* window) { onFocusWindowChanged(window); });
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
    page_ = new FogRunPage(this);
    setCentralWidget(page_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(page_, &FogRunPage::filesReplacedChanged, this, [this](bool replaced) {
        exitAction_->setEnabled(!replaced);
        setCloseBox(!replaced);
        optionsMenu_->menuAction()->setVisible(!replaced);
    });
}

void MainWindow::buildMenu() {
    QMenuBar* bar = menuBar();
    fileMenu_ = bar->addMenu(QString());
    fileMenu_->setObjectName("fileMenu");
    exitAction_ = fileMenu_->addAction(QString());
    exitAction_->setObjectName("exitAction");
    connect(exitAction_, &QAction::triggered, this,
            platform::Guarded([this] { onExitTriggered(); }));

    optionsMenu_ = bar->addMenu(QString());
    optionsMenu_->setObjectName("optionsMenu");
    languageMenu_ = optionsMenu_->addMenu(QString());
    languageMenu_->setObjectName("languageMenu");
    languageGroup_ = new QActionGroup(this);
    languageGroup_->setExclusive(true);
    dutchAction_ = languageMenu_->addAction("Nederlands");
    dutchAction_->setObjectName("dutchAction");
    dutchAction_->setCheckable(true);
    languageGroup_->addAction(dutchAction_);
    connect(languageGroup_, &QActionGroup::triggered, this, [this](QAction* item) {
        platform::RunGuarded([this, item] { onLanguageTriggered(item); });
    });
    openRailsAction_ = optionsMenu_->addAction(QString());
    openRailsAction_->setObjectName("openRailsAction");
    openRailsAction_->setCheckable(true);
    connect(openRailsAction_, &QAction::triggered, this,
            platform::Guarded([this] { onOpenRailsTriggered(); }));
    folderAction_ = optionsMenu_->addAction(QString());
    folderAction_->setObjectName("folderAction");
    connect(folderAction_, &QAction::triggered, this,
            platform::Guarded([this] { onFolderTriggered(); }));
    // The settings file is the only copy: another copy of the program may have changed it.
    connect(optionsMenu_, &QMenu::aboutToShow, this,
            platform::Guarded([this] { showOpenRailsSetting(); }));

    helpMenu_ = bar->addMenu(QString());
    helpMenu_->setObjectName("helpMenu");
    helpContentsAction_ = helpMenu_->addAction(QString());
    helpContentsAction_->setObjectName("helpContentsAction");
    connect(helpContentsAction_, &QAction::triggered, this,
            platform::Guarded([this] { onHelpTriggered(); }));
    helpSeparator_ = helpMenu_->addSeparator();
    helpSeparator_->setObjectName("helpSeparator");
    aboutAction_ = helpMenu_->addAction(QString());
    aboutAction_->setObjectName("aboutAction");
    connect(aboutAction_, &QAction::triggered, this,
            platform::Guarded([this] { onAboutTriggered(); }));
}

void MainWindow::initialize() {
    languageMenuPending_ = true;
    currentLanguage_ = settings::ReadString(settings::kProgramSection, settings::kLanguageKey);
    page_->followVisibilityMouse();
    showOpenRailsSetting();
    useLanguage(currentLanguage_);
}

void MainWindow::showOpenRailsSetting() {
    // Open Rails never takes its fog from the environment files, so a content folder always gets
    // its files: the item shows that without changing the stored choice.
    const bool contentFolder = install::IsContentFolder(
        settings::ReadString(settings::kLocationSection, settings::kPathKey));
    openRailsAction_->setEnabled(!contentFolder);
    openRailsAction_->setChecked(
        contentFolder ||
        settings::ReadBool(settings::kProgramSection, settings::kOpenRailsKey, false));
}

void MainWindow::onFolderTriggered() {
    // The run's record names its folder, and a record for another folder is refused: the fog
    // has to go before the folder changes.
    if (page_->filesReplaced() || fog::RunRecordPresent()) {
        platform::ShowErrorMessage(texts_.text("Meldingen/Map_mist"),
                                   texts_.text("Meldingen/Titel"));
        return;
    }
    emit folderChangeRequested();
}

void MainWindow::onFolderChanged() {
    onActivated();
    showOpenRailsSetting();
}

void MainWindow::onOpenRailsTriggered() {
    const bool on = openRailsAction_->isChecked();
    // Until the file holds the choice the item shows what it held; a failed write is reported
    // by the guard and leaves it so.
    openRailsAction_->setChecked(!on);
    settings::WriteBool(settings::kProgramSection, settings::kOpenRailsKey, on);
    openRailsAction_->setChecked(on);
}

void MainWindow::onShown() {
    if (languageMenuPending_) {
        fillLanguageMenu(settings::PackFolder());
        languageMenuPending_ = false;
    }
}

void MainWindow::onActivated() {
    page_->showRoutes(settings::ReadString(settings::kLocationSection, settings::kPathKey));
}

void MainWindow::onExitTriggered() {
    close();
}

void MainWindow::onAboutTriggered() {
    emit aboutRequested();
}

void MainWindow::onHelpTriggered() {
    about::OpenHelp({texts_.text("Meldingen/Messagedlg_Titel"), texts_.text("Meldingen/Titel"),
                     texts_.text("Meldingen/Help_niet_gevonden")},
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
    return page_->openUnrestoredRun();
}

void MainWindow::reportUnrestoredRun() const {
    page_->reportUnrestoredRun();
}

bool MainWindow::mayClose() {
    if (!page_->filesReplaced()) return true;
    platform::ShowErrorMessage(texts_.text("Meldingen/Niet_afsluiten"),
                               texts_.text("Meldingen/afsluit_titel"));
    return false;
}
