#include "app/TForm1.h"

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

#include "platform/messages.h"
#include "platform/paths.h"
#include "settings/language.h"
#include "settings/settings_file.h"
#include "settings/texts.h"
#include "widgets/TTrackBar.h"
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

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName("Form1");
    setWindowTitle("ZEL Nevora");
    setFont(FormFont());
    widgets::MarkAsForm(*this);
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

TForm1::~TForm1() = default;

void TForm1::BuildControls() {
    auto* client = new QWidget(this);
    client->setObjectName("client");
    client->setFixedSize(351, 229);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // The completion page lies beneath Panel1.
    Label3 = MakeLabel(client, "Label3", {8, 8, 321, 89},
                       "Het maken van mist in Train Simulator is voltooid en kan nu in Train "
                       "Simulator worden gebruikt. klik op de onderstaande knop \"Ga terug en "
                       "herstel alles\" om de gewijzigde bestanden weer in hun oude staat terug te "
                       "brengen en dit programma af te sluiten.",
                       widgets::clNavy, true);
    Label3->setFont(FormFont(13));
    RichEdit1 = new QTextEdit(client);
    RichEdit1->setObjectName("RichEdit1");
    RichEdit1->setGeometry(8, 104, 329, 89);
    RichEdit1->setReadOnly(true);
    RichEdit1->setAlignment(Qt::AlignHCenter);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setFont(FormFont(13, "Arial"));
    RichEdit1->setTextColor(widgets::ToQColor(widgets::clMaroon));
    Button2 = new QPushButton("Ga terug en herstel alles", client);
    Button2->setObjectName("Button2");
    Button2->setGeometry(100, 200, 160, 25);
    connect(Button2, &QPushButton::clicked, this, platform::Guarded([this] { Button2Click(); }));

    Panel1 = new QWidget(client);
    Panel1->setObjectName("Panel1");
    Panel1->setGeometry(0, 0, 353, 233);
    Panel1->setAutoFillBackground(true);
    Panel1->raise();

    GroupBox1 = new QGroupBox("Route Selecteren", Panel1);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(8, 8, 177, 113);
    SetTextColor(GroupBox1, widgets::clRed);
    Label1 = MakeLabel(GroupBox1, "Label1", {8, 24, 145, 49},
                       "Selecteer een route waarin u in de mist wilt gaan rijden:", widgets::clNavy,
                       true);
    RouteBox = new QComboBox(GroupBox1);
    RouteBox->setObjectName("RouteBox");
    RouteBox->setEditable(true);
    RouteBox->setInsertPolicy(QComboBox::NoInsert);  // the list holds folder names only
    RouteBox->setGeometry(8, 72, 161, 21);
    SetTextColor(RouteBox, widgets::clTeal);
    RouteBox->setEditText("Geen Route Geselecteerd");
    // OnChange is the user's change only: typing or picking an entry.
    connect(RouteBox->lineEdit(), &QLineEdit::textEdited, this,
            platform::Guarded([this] { RouteBoxChange(); }));
    connect(RouteBox, &QComboBox::activated, this, platform::Guarded([this] { RouteBoxChange(); }));

    GroupBox2 = new QGroupBox("Het weer", Panel1);
    GroupBox2->setObjectName("GroupBox2");
    GroupBox2->setGeometry(192, 8, 153, 113);
    SetTextColor(GroupBox2, widgets::clRed);
    Label2 = MakeLabel(GroupBox2, "Label2", {8, 24, 137, 33}, "Kies het weer waarin u gaat rijden:",
                       widgets::clNavy, true);
    auto radio = [this](const char* name, const char* text, int top) {
        auto* button = new QRadioButton(text, GroupBox2);
        button->setObjectName(name);
        button->setGeometry(16, top, 113, 17);
        SetTextColor(button, widgets::clTeal);
        return button;
    };
    Sun = radio("Sun", "Zonnig (Clear)", 56);
    Rain = radio("Rain", "Regen (Rain)", 72);
    Snow = radio("Snow", "Sneeuw (Snow)", 88);
    Sun->setChecked(true);

    GroupBox3 = new QGroupBox("Mist instellingen", Panel1);
    GroupBox3->setObjectName("GroupBox3");
    GroupBox3->setGeometry(8, 128, 337, 65);
    SetTextColor(GroupBox3, widgets::clRed);
    TrackBar1 = new widgets::TTrackBar(GroupBox3);
    TrackBar1->setObjectName("TrackBar1");
    TrackBar1->setGeometry(8, 16, 150, 45);
    TrackBar1->setRange(25, 125);
    TrackBar1->setSingleStep(25);
    TrackBar1->setPageStep(2);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setTickInterval(25);
    TrackBar1->SetPosition(75);
    connect(TrackBar1, &widgets::TTrackBar::Changed, this,
            platform::Guarded([this] { TrackBar1Change(); }));
    Bevel1 = new QFrame(GroupBox3);
    Bevel1->setObjectName("Bevel1");
    Bevel1->setGeometry(168, 10, 161, 50);
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Label5 = MakeLabel(GroupBox3, "Label5", {176, 16, 83, 13}, "Zicht in meters:", widgets::clNavy, false);
    zichtlabel = MakeLabel(GroupBox3, "zichtlabel", {264, 16, 0, 0}, "75 m", widgets::clBlack, false);
    AutoSize(zichtlabel);
    Label4 = MakeLabel(GroupBox3, "Label4", {176, 40, 0, 0}, "Toestand:", widgets::clNavy, false);
    AutoSize(Label4);
    toestandlabel = MakeLabel(GroupBox3, "toestandlabel", {232, 40, 90, 14}, " Mist ", 390138, false);
    toestandlabel->setAutoFillBackground(true);
    QPalette pal = toestandlabel->palette();
    pal.setColor(QPalette::Window, widgets::ToQColor(widgets::clBlack));
    toestandlabel->setPalette(pal);

    Button1 = new QPushButton("Maken...", Panel1);
    Button1->setObjectName("Button1");
    Button1->setGeometry(136, 200, 75, 25);
    SetTextColor(Button1, widgets::clBlack);
    connect(Button1, &QPushButton::clicked, this, platform::Guarded([this] { Button1Click(); }));

    // Tab order: Panel1 (groups, then Maken...), Button2, RichEdit1.
    setTabOrder(RouteBox, Sun);
    setTabOrder(Sun, TrackBar1);
    setTabOrder(TrackBar1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, RichEdit1);
}

void TForm1::BuildMenu() {
    QMenuBar* bar = menuBar();
    Bestand1 = bar->addMenu("&Bestand");
    Bestand1->setObjectName("Bestand1");
    afsluiten1 = Bestand1->addAction("&Afsluiten");
    afsluiten1->setObjectName("afsluiten1");
    connect(afsluiten1, &QAction::triggered, this,
            platform::Guarded([this] { afsluiten1Click(); }));

    Opties1 = bar->addMenu("&Opties");
    Opties1->setObjectName("Opties1");
    Taal1 = Opties1->addMenu("Taal");
    Taal1->setObjectName("Taal1");
    languageGroup_ = new QActionGroup(this);
    languageGroup_->setExclusive(true);
    Nederlands1 = Taal1->addAction("Nederlands");
    Nederlands1->setObjectName("Nederlands1");
    Nederlands1->setCheckable(true);
    languageGroup_->addAction(Nederlands1);
    connect(languageGroup_, &QActionGroup::triggered, this,
            [this](QAction* item) { platform::RunGuarded([this, item] { LanguageClick(item); }); });

    Help1 = bar->addMenu("&Help");
    Help1->setObjectName("Help1");
    Help2 = Help1->addAction("H&elp inhoud");
    Help2->setObjectName("Help2");
    connect(Help2, &QAction::triggered, this, platform::Guarded([this] { Help2Click(); }));
    N1 = Help1->addSeparator();
    N1->setObjectName("N1");
    Info1 = Help1->addAction("&Info");
    Info1->setObjectName("Info1");
    connect(Info1, &QAction::triggered, this, platform::Guarded([this] { Info1Click(); }));
}

void TForm1::FormCreate() {
    LanguageMenuPending = true;
    CurrentLanguage = settings::ReadString(settings::kProgramSection, settings::kLanguageKey);
    TrackBar1->SetOnMouseDown([this](Qt::MouseButton button, int x, int y) {
        platform::RunGuarded([=, this] { TrackBar1MouseDown(button, x, y); });
    });
    UseLanguage(CurrentLanguage);
}

void TForm1::FormShow() {
    if (LanguageMenuPending) {
        FillLanguageMenu(settings::PackFolder());
        LanguageMenuPending = false;
    }
}

void TForm1::FormActivate() {
    InstallRoot = settings::ReadString(settings::kLocationSection, settings::kPathKey);
    FillRouteList(platform::JoinPath(InstallRoot, "Routes"), RouteBox);
}

void TForm1::afsluiten1Click() { close(); }

void TForm1::Info1Click() {
    if (ShowAboutWindow) ShowAboutWindow();
}

void TForm1::SetCloseBox(bool closeBox) {
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

void TForm1::closeEvent(QCloseEvent* event) {
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

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) platform::RunGuarded([this] { FormShow(); });
}

void TForm1::StartActivationTracking() {
    trackingActivation_ = true;
    lastAppWindow_ = windowHandle();
    lastAppWindowIsForm_ = false;
}

void TForm1::OnFocusWindowChanged(QWindow* window) {
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
        platform::RunGuarded([this] { FormActivate(); });
    }
}

std::array<std::string, 5> TForm1::FogStateDisplayTexts() const {
    std::array<std::string, 5> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = " " + FogStateTexts[i] + " ";
    return texts;
}
