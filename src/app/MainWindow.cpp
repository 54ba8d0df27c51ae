#include "app/MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QWindow>

#include "about/HelpCommand.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "settings/language.h"
#include "settings/settings_file.h"
#include "settings/texts.h"
#include "widgets/TrackBar.h"
#include "widgets/fonts.h"
#include "widgets/program_window.h"
#include "widgets/qcolor.h"

using widgets::WindowFont;

namespace {

void SetTextColor(QWidget* w, widgets::ColorCode color) {
    QPalette pal = w->palette();
    const QColor c = widgets::ToQColor(color);
    pal.setColor(QPalette::WindowText, c);
    pal.setColor(QPalette::Text, c);
    pal.setColor(QPalette::ButtonText, c);
    w->setPalette(pal);
}

QLabel* MakeLabel(QWidget* parent, const char* name, QRect geometry, const QString& text,
                  widgets::ColorCode color, bool wordWrap) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(wordWrap);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    SetTextColor(label, color);
    return label;
}

// An auto-sized label: only its top-left corner is fixed.
void AutoSize(QLabel* label) { label->resize(label->sizeHint()); }

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName("MainWindow");
    setWindowTitle("ZEL Nevora");
    setFont(WindowFont());
    widgets::MarkAsProgramWindow(*this);
    BuildControls();
    BuildMenu();
    SetCloseBox(true);
    // Until a language is applied the boxes speak the built-in Dutch: a pack refused at start-up
    // is reported before any language is in place. (The targets from kInfoTitle on are texts the
    // window keeps, not controls.)
    for (const auto& text : settings::LoadTexts(settings::MainWindowTexts(), settings::kDutch))
        if (text.target >= settings::kInfoTitle) SetTarget(text.target, text.text);
    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            [this](QWindow* window) { OnFocusWindowChanged(window); });
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildControls() {
    auto* client = new QWidget(this);
    client->setObjectName("client");
    client->setFixedSize(351, 229);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // The completion page lies beneath choosingPage.
    completionLabel = MakeLabel(client, "completionLabel", {8, 8, 321, 89},
                       "Het maken van mist in Train Simulator is voltooid en kan nu in Train "
                       "Simulator worden gebruikt. klik op de onderstaande knop \"Ga terug en "
                       "herstel alles\" om de gewijzigde bestanden weer in hun oude staat terug te "
                       "brengen en dit programma af te sluiten.",
                       widgets::colors::navy, true);
    completionLabel->setFont(WindowFont(13));
    summaryView = new QTextEdit(client);
    summaryView->setObjectName("summaryView");
    summaryView->setGeometry(8, 104, 329, 89);
    summaryView->setReadOnly(true);
    summaryView->setAlignment(Qt::AlignHCenter);
    summaryView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    summaryView->setFont(WindowFont(13, "Arial"));
    summaryView->setTextColor(widgets::ToQColor(widgets::colors::maroon));
    restoreButton = new QPushButton("Ga terug en herstel alles", client);
    restoreButton->setObjectName("restoreButton");
    restoreButton->setGeometry(100, 200, 160, 25);
    connect(restoreButton, &QPushButton::clicked, this,
            platform::Guarded([this] { onRestoreClicked(); }));

    choosingPage = new QWidget(client);
    choosingPage->setObjectName("choosingPage");
    choosingPage->setGeometry(0, 0, 353, 233);
    choosingPage->setAutoFillBackground(true);
    choosingPage->raise();

    routeGroup = new QGroupBox("Route Selecteren", choosingPage);
    routeGroup->setObjectName("routeGroup");
    routeGroup->setGeometry(8, 8, 177, 113);
    SetTextColor(routeGroup, widgets::colors::red);
    routeLabel = MakeLabel(routeGroup, "routeLabel", {8, 24, 145, 49},
                       "Selecteer een route waarin u in de mist wilt gaan rijden:",
                       widgets::colors::navy, true);
    routeBox = new QComboBox(routeGroup);
    routeBox->setObjectName("routeBox");
    routeBox->setEditable(true);
    routeBox->setInsertPolicy(QComboBox::NoInsert);  // the list holds folder names only
    routeBox->setGeometry(8, 72, 161, 21);
    SetTextColor(routeBox, widgets::colors::teal);
    routeBox->setEditText("Geen Route Geselecteerd");
    // OnChange is the user's change only: typing or picking an entry.
    connect(routeBox->lineEdit(), &QLineEdit::textEdited, this,
            platform::Guarded([this] { onRouteEdited(); }));
    connect(routeBox, &QComboBox::activated, this, platform::Guarded([this] { onRouteEdited(); }));

    weatherGroup = new QGroupBox("Het weer", choosingPage);
    weatherGroup->setObjectName("weatherGroup");
    weatherGroup->setGeometry(192, 8, 153, 113);
    SetTextColor(weatherGroup, widgets::colors::red);
    weatherLabel = MakeLabel(weatherGroup, "weatherLabel", {8, 24, 137, 33},
                             "Kies het weer waarin u gaat rijden:", widgets::colors::navy, true);
    auto radio = [this](const char* name, const char* text, int top) {
        auto* button = new QRadioButton(text, weatherGroup);
        button->setObjectName(name);
        button->setGeometry(16, top, 113, 17);
        SetTextColor(button, widgets::colors::teal);
        return button;
    };
    sunButton = radio("sunButton", "Zonnig (Clear)", 56);
    rainButton = radio("rainButton", "Regen (Rain)", 72);
    snowButton = radio("snowButton", "Sneeuw (Snow)", 88);
    sunButton->setChecked(true);

    fogGroup = new QGroupBox("Mist instellingen", choosingPage);
    fogGroup->setObjectName("fogGroup");
    fogGroup->setGeometry(8, 128, 337, 65);
    SetTextColor(fogGroup, widgets::colors::red);
    visibilityBar = new widgets::TrackBar(fogGroup);
    visibilityBar->setObjectName("visibilityBar");
    visibilityBar->setGeometry(8, 16, 150, 45);
    visibilityBar->setRange(25, 125);
    visibilityBar->setSingleStep(25);
    visibilityBar->setPageStep(2);
    visibilityBar->setTickPosition(QSlider::TicksBelow);
    visibilityBar->setTickInterval(25);
    visibilityBar->setValue(75);
    connect(visibilityBar, &widgets::TrackBar::valueEdited, this,
            platform::Guarded([this] { onVisibilityChanged(); }));
    visibilityFrame = new QFrame(fogGroup);
    visibilityFrame->setObjectName("visibilityFrame");
    visibilityFrame->setGeometry(168, 10, 161, 50);
    visibilityFrame->setFrameShape(QFrame::Box);
    visibilityFrame->setFrameShadow(QFrame::Sunken);
    visibilityCaption = MakeLabel(fogGroup, "visibilityCaption", {176, 16, 83, 13},
                                  "Zicht in meters:", widgets::colors::navy, false);
    visibilityLabel = MakeLabel(fogGroup, "visibilityLabel", {264, 16, 0, 0}, "75 m",
                                widgets::colors::black, false);
    AutoSize(visibilityLabel);
    fogStateCaption = MakeLabel(fogGroup, "fogStateCaption", {176, 40, 0, 0},
                                "Toestand:", widgets::colors::navy, false);
    AutoSize(fogStateCaption);
    fogStateLabel =
        MakeLabel(fogGroup, "fogStateLabel", {232, 40, 90, 14}, " Mist ", 390138, false);
    fogStateLabel->setAutoFillBackground(true);
    QPalette pal = fogStateLabel->palette();
    pal.setColor(QPalette::Window, widgets::ToQColor(widgets::colors::black));
    fogStateLabel->setPalette(pal);

    makeButton = new QPushButton("Maken...", choosingPage);
    makeButton->setObjectName("makeButton");
    makeButton->setGeometry(136, 200, 75, 25);
    SetTextColor(makeButton, widgets::colors::black);
    connect(makeButton, &QPushButton::clicked, this,
            platform::Guarded([this] { onMakeClicked(); }));

    // Tab order: choosingPage (groups, then Maken...), restoreButton, summaryView.
    setTabOrder(routeBox, sunButton);
    setTabOrder(sunButton, visibilityBar);
    setTabOrder(visibilityBar, makeButton);
    setTabOrder(makeButton, restoreButton);
    setTabOrder(restoreButton, summaryView);
}

void MainWindow::BuildMenu() {
    QMenuBar* bar = menuBar();
    fileMenu = bar->addMenu("&Bestand");
    fileMenu->setObjectName("fileMenu");
    exitAction = fileMenu->addAction("&Afsluiten");
    exitAction->setObjectName("exitAction");
    connect(exitAction, &QAction::triggered, this,
            platform::Guarded([this] { onExitTriggered(); }));

    optionsMenu = bar->addMenu("&Opties");
    optionsMenu->setObjectName("optionsMenu");
    languageMenu = optionsMenu->addMenu("Taal");
    languageMenu->setObjectName("languageMenu");
    languageGroup_ = new QActionGroup(this);
    languageGroup_->setExclusive(true);
    dutchAction = languageMenu->addAction("Nederlands");
    dutchAction->setObjectName("dutchAction");
    dutchAction->setCheckable(true);
    languageGroup_->addAction(dutchAction);
    connect(languageGroup_, &QActionGroup::triggered, this, [this](QAction* item) {
        platform::RunGuarded([this, item] { onLanguageTriggered(item); });
    });

    helpMenu = bar->addMenu("&Help");
    helpMenu->setObjectName("helpMenu");
    helpContentsAction = helpMenu->addAction("H&elp inhoud");
    helpContentsAction->setObjectName("helpContentsAction");
    connect(helpContentsAction, &QAction::triggered, this,
            platform::Guarded([this] { onHelpTriggered(); }));
    helpSeparator = helpMenu->addSeparator();
    helpSeparator->setObjectName("helpSeparator");
    aboutAction = helpMenu->addAction("&Info");
    aboutAction->setObjectName("aboutAction");
    connect(aboutAction, &QAction::triggered, this,
            platform::Guarded([this] { onAboutTriggered(); }));
}

void MainWindow::FormCreate() {
    LanguageMenuPending = true;
    CurrentLanguage = settings::ReadString(settings::kProgramSection, settings::kLanguageKey);
    visibilityBar->setMousePressHandler([this](Qt::MouseButton button, int x, int y) {
        platform::RunGuarded([=, this] { onVisibilityMousePressed(button, x, y); });
    });
    UseLanguage(CurrentLanguage);
}

void MainWindow::FormShow() {
    if (LanguageMenuPending) {
        FillLanguageMenu(settings::PackFolder());
        LanguageMenuPending = false;
    }
}

void MainWindow::FormActivate() {
    InstallRoot = settings::ReadString(settings::kLocationSection, settings::kPathKey);
    FillRouteList(platform::JoinPath(InstallRoot, "Routes"), routeBox);
}

void MainWindow::onExitTriggered() { close(); }

void MainWindow::onAboutTriggered() {
    if (ShowAboutWindow) ShowAboutWindow();
}

void MainWindow::onHelpTriggered() {
    about::OpenHelp({LanguageDlgTitle, ErrorTitle, HelpNotFoundMsg}, this);
}

void MainWindow::SetCloseBox(bool closeBox) {
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
    platform::RunGuarded([&] { FormCloseQuery(canClose); });
    if (canClose) {
        event->accept();
        if (OnClosed) OnClosed();
    } else {
        event->ignore();
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) platform::RunGuarded([this] { FormShow(); });
}

void MainWindow::StartActivationTracking() {
    trackingActivation_ = true;
    lastAppWindow_ = windowHandle();
    lastAppWindowIsForm_ = false;
}

void MainWindow::OnFocusWindowChanged(QWindow* window) {
    if (!window) return;  // another program took the focus: that is no return to this window
    const bool cameFromForm = lastAppWindowIsForm_ && lastAppWindow_ != window;
    lastAppWindow_ = window;
    // Decided now, while the window exists: a dialog that closes is often gone before the focus
    // comes back here.
    lastAppWindowIsForm_ = false;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->windowHandle() == window && widgets::IsProgramWindow(*w)) {
            lastAppWindowIsForm_ = true;
        }
    }
    // Only a return from another window of the program that is a form counts; message boxes and
    // menus do not.
    if (trackingActivation_ && window == windowHandle() && cameFromForm) {
        platform::RunGuarded([this] { FormActivate(); });
    }
}

std::array<std::string, 5> MainWindow::FogStateDisplayTexts() const {
    std::array<std::string, 5> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = " " + FogStateTexts[i] + " ";
    return texts;
}
