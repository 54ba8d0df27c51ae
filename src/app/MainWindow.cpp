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
#include "widgets/forms.h"
#include "widgets/qcolor.h"

using widgets::FormFont;

namespace {

void SetTextColor(QWidget* w, widgets::TColor color) {
    QPalette pal = w->palette();
    const QColor c = widgets::ToQColor(color);
    pal.setColor(QPalette::WindowText, c);
    pal.setColor(QPalette::Text, c);
    pal.setColor(QPalette::ButtonText, c);
    w->setPalette(pal);
}

QLabel* MakeLabel(QWidget* parent, const char* name, QRect geometry, const QString& text,
                  widgets::TColor color, bool wordWrap) {
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
    setFont(FormFont());
    widgets::MarkAsForm(*this);
    buildControls();
    buildMenu();
    setCloseBox(true);
    // Until a language is applied the boxes speak the built-in Dutch: a pack refused at start-up
    // is reported before any language is in place. (The targets from kInfoTitle on are texts the
    // window keeps, not controls.)
    for (const auto& text : settings::LoadTexts(settings::MainWindowTexts(), settings::kDutch))
        if (text.target >= settings::kInfoTitle) applyText(text.target, text.text);
    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            [this](QWindow* window) { onFocusWindowChanged(window); });
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
    auto* client = new QWidget(this);
    client->setObjectName("client");
    client->setFixedSize(351, 229);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // The completion page lies beneath choosingPage_.
    completionLabel_ =
        MakeLabel(client, "completionLabel", {8, 8, 321, 89},
                  "Het maken van mist in Train Simulator is voltooid en kan nu in Train "
                  "Simulator worden gebruikt. klik op de onderstaande knop \"Ga terug en "
                  "herstel alles\" om de gewijzigde bestanden weer in hun oude staat terug te "
                  "brengen en dit programma af te sluiten.",
                  widgets::clNavy, true);
    completionLabel_->setFont(FormFont(13));
    summaryView_ = new QTextEdit(client);
    summaryView_->setObjectName("summaryView");
    summaryView_->setGeometry(8, 104, 329, 89);
    summaryView_->setReadOnly(true);
    summaryView_->setAlignment(Qt::AlignHCenter);
    summaryView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    summaryView_->setFont(FormFont(13, "Arial"));
    summaryView_->setTextColor(widgets::ToQColor(widgets::clMaroon));
    restoreButton_ = new QPushButton("Ga terug en herstel alles", client);
    restoreButton_->setObjectName("restoreButton");
    restoreButton_->setGeometry(100, 200, 160, 25);
    connect(restoreButton_, &QPushButton::clicked, this,
            platform::Guarded([this] { onRestoreClicked(); }));

    choosingPage_ = new QWidget(client);
    choosingPage_->setObjectName("choosingPage");
    choosingPage_->setGeometry(0, 0, 353, 233);
    choosingPage_->setAutoFillBackground(true);
    choosingPage_->raise();

    routeGroup_ = new QGroupBox("Route Selecteren", choosingPage_);
    routeGroup_->setObjectName("routeGroup");
    routeGroup_->setGeometry(8, 8, 177, 113);
    SetTextColor(routeGroup_, widgets::clRed);
    routeLabel_ = MakeLabel(routeGroup_, "routeLabel", {8, 24, 145, 49},
                            "Selecteer een route waarin u in de mist wilt gaan rijden:",
                            widgets::clNavy, true);
    routeBox_ = new QComboBox(routeGroup_);
    routeBox_->setObjectName("routeBox");
    routeBox_->setEditable(true);
    routeBox_->setInsertPolicy(QComboBox::NoInsert);  // the list holds folder names only
    routeBox_->setGeometry(8, 72, 161, 21);
    SetTextColor(routeBox_, widgets::clTeal);
    routeBox_->setEditText("Geen Route Geselecteerd");
    // The change handler runs for the user's changes only: typing or picking an entry.
    connect(routeBox_->lineEdit(), &QLineEdit::textEdited, this,
            platform::Guarded([this] { onRouteEdited(); }));
    connect(routeBox_, &QComboBox::activated, this, platform::Guarded([this] { onRouteEdited(); }));

    weatherGroup_ = new QGroupBox("Het weer", choosingPage_);
    weatherGroup_->setObjectName("weatherGroup");
    weatherGroup_->setGeometry(192, 8, 153, 113);
    SetTextColor(weatherGroup_, widgets::clRed);
    weatherLabel_ = MakeLabel(weatherGroup_, "weatherLabel", {8, 24, 137, 33},
                              "Kies het weer waarin u gaat rijden:", widgets::clNavy, true);
    auto radio = [this](const char* name, const char* text, int top) {
        auto* button = new QRadioButton(text, weatherGroup_);
        button->setObjectName(name);
        button->setGeometry(16, top, 113, 17);
        SetTextColor(button, widgets::clTeal);
        return button;
    };
    sunButton_ = radio("sunButton", "Zonnig (Clear)", 56);
    rainButton_ = radio("rainButton", "Regen (Rain)", 72);
    snowButton_ = radio("snowButton", "Sneeuw (Snow)", 88);
    sunButton_->setChecked(true);

    fogGroup_ = new QGroupBox("Mist instellingen", choosingPage_);
    fogGroup_->setObjectName("fogGroup");
    fogGroup_->setGeometry(8, 128, 337, 65);
    SetTextColor(fogGroup_, widgets::clRed);
    visibilityBar_ = new widgets::TrackBar(fogGroup_);
    visibilityBar_->setObjectName("visibilityBar");
    visibilityBar_->setGeometry(8, 16, 150, 45);
    visibilityBar_->setRange(25, 125);
    visibilityBar_->setSingleStep(25);
    visibilityBar_->setPageStep(2);
    visibilityBar_->setTickPosition(QSlider::TicksBelow);
    visibilityBar_->setTickInterval(25);
    visibilityBar_->SetPosition(75);
    connect(visibilityBar_, &widgets::TrackBar::Changed, this,
            platform::Guarded([this] { onVisibilityChanged(); }));
    visibilityFrame_ = new QFrame(fogGroup_);
    visibilityFrame_->setObjectName("visibilityFrame");
    visibilityFrame_->setGeometry(168, 10, 161, 50);
    visibilityFrame_->setFrameShape(QFrame::Box);
    visibilityFrame_->setFrameShadow(QFrame::Sunken);
    visibilityCaption_ = MakeLabel(fogGroup_, "visibilityCaption", {176, 16, 83, 13},
                                   "Zicht in meters:", widgets::clNavy, false);
    visibilityLabel_ =
        MakeLabel(fogGroup_, "visibilityLabel", {264, 16, 0, 0}, "75 m", widgets::clBlack, false);
    AutoSize(visibilityLabel_);
    fogStateCaption_ = MakeLabel(fogGroup_, "fogStateCaption", {176, 40, 0, 0},
                                 "Toestand:", widgets::clNavy, false);
    AutoSize(fogStateCaption_);
    fogStateLabel_ =
        MakeLabel(fogGroup_, "fogStateLabel", {232, 40, 90, 14}, " Mist ", 390138, false);
    fogStateLabel_->setAutoFillBackground(true);
    QPalette pal = fogStateLabel_->palette();
    pal.setColor(QPalette::Window, widgets::ToQColor(widgets::clBlack));
    fogStateLabel_->setPalette(pal);

    makeButton_ = new QPushButton("Maken...", choosingPage_);
    makeButton_->setObjectName("makeButton");
    makeButton_->setGeometry(136, 200, 75, 25);
    SetTextColor(makeButton_, widgets::clBlack);
    connect(makeButton_, &QPushButton::clicked, this,
            platform::Guarded([this] { onMakeClicked(); }));

    // Tab order: choosingPage_ (groups, then Maken...), restoreButton_, summaryView_.
    setTabOrder(routeBox_, sunButton_);
    setTabOrder(sunButton_, visibilityBar_);
    setTabOrder(visibilityBar_, makeButton_);
    setTabOrder(makeButton_, restoreButton_);
    setTabOrder(restoreButton_, summaryView_);
}

void MainWindow::buildMenu() {
    QMenuBar* bar = menuBar();
    fileMenu_ = bar->addMenu("&Bestand");
    fileMenu_->setObjectName("fileMenu");
    exitAction_ = fileMenu_->addAction("&Afsluiten");
    exitAction_->setObjectName("exitAction");
    connect(exitAction_, &QAction::triggered, this,
            platform::Guarded([this] { onExitTriggered(); }));

    optionsMenu_ = bar->addMenu("&Opties");
    optionsMenu_->setObjectName("optionsMenu");
    languageMenu_ = optionsMenu_->addMenu("Taal");
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

    helpMenu_ = bar->addMenu("&Help");
    helpMenu_->setObjectName("helpMenu");
    helpContentsAction_ = helpMenu_->addAction("H&elp inhoud");
    helpContentsAction_->setObjectName("helpContentsAction");
    connect(helpContentsAction_, &QAction::triggered, this,
            platform::Guarded([this] { onHelpTriggered(); }));
    helpSeparator_ = helpMenu_->addSeparator();
    helpSeparator_->setObjectName("helpSeparator");
    aboutAction_ = helpMenu_->addAction("&Info");
    aboutAction_->setObjectName("aboutAction");
    connect(aboutAction_, &QAction::triggered, this,
            platform::Guarded([this] { onAboutTriggered(); }));
}

void MainWindow::initialize() {
    languageMenuPending_ = true;
    currentLanguage_ = settings::ReadString(settings::kProgramSection, settings::kLanguageKey);
    visibilityBar_->SetOnMouseDown([this](Qt::MouseButton button, int x, int y) {
        platform::RunGuarded([=, this] { onVisibilityMousePressed(button, x, y); });
    });
    useLanguage(currentLanguage_);
}

void MainWindow::onShown() {
    if (languageMenuPending_) {
        fillLanguageMenu(settings::PackFolder());
        languageMenuPending_ = false;
    }
}

void MainWindow::onActivated() {
    installRoot_ = settings::ReadString(settings::kLocationSection, settings::kPathKey);
    fillRouteList(platform::JoinPath(installRoot_, "Routes"));
}

void MainWindow::onExitTriggered() { close(); }

void MainWindow::onAboutTriggered() { emit aboutRequested(); }

void MainWindow::onHelpTriggered() {
    about::OpenHelp({texts_.languageDlgTitle, texts_.errorTitle, texts_.helpNotFoundMsg}, this);
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
    lastAppWindowIsForm_ = false;
}

void MainWindow::onFocusWindowChanged(QWindow* window) {
    if (!window) return;  // another program took the focus: that is no return to this window
    const bool cameFromForm = lastAppWindowIsForm_ && lastAppWindow_ != window;
    lastAppWindow_ = window;
    // Decided now, while the window exists: a dialog that closes is often gone before the focus
    // comes back here.
    lastAppWindowIsForm_ = false;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->windowHandle() == window && widgets::IsForm(*w)) {
            lastAppWindowIsForm_ = true;
        }
    }
    // Only a return from another window of the program that is a form counts; message boxes and
    // menus do not.
    if (trackingActivation_ && window == windowHandle() && cameFromForm) {
        platform::RunGuarded([this] { onActivated(); });
    }
}

std::array<std::string, 5> MainWindow::fogStateDisplayTexts() const {
    std::array<std::string, 5> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = " " + texts_.fogStateTexts[i] + " ";
    return texts;
}
