#include "mist/FogRunPage.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include "mist/visibility.h"
#include "platform/messages.h"
#include "settings/texts.h"
#include "widgets/TrackBar.h"
#include "widgets/fonts.h"
#include "widgets/qcolor.h"
#include "widgets/qtext.h"

using widgets::WindowFont;
using widgets::ToQ;

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

FogRunPage::FogRunPage(QWidget* parent) : QWidget(parent) {
    setObjectName("client");
    setFixedSize(351, 229);
    buildControls();
}

FogRunPage::~FogRunPage() = default;

void FogRunPage::buildControls() {
    // The completion page lies beneath choosingPage_.
    completionLabel_ =
        MakeLabel(this, "completionLabel", {8, 8, 321, 89},
                  "Het maken van mist in Train Simulator is voltooid en kan nu in Train "
                  "Simulator worden gebruikt. klik op de onderstaande knop \"Ga terug en "
                  "herstel alles\" om de gewijzigde bestanden weer in hun oude staat terug te "
                  "brengen en dit programma af te sluiten.",
                  widgets::colors::navy, true);
    completionLabel_->setFont(WindowFont(13));
    summaryView_ = new QTextEdit(this);
    summaryView_->setObjectName("summaryView");
    summaryView_->setGeometry(8, 104, 329, 89);
    summaryView_->setReadOnly(true);
    summaryView_->setAlignment(Qt::AlignHCenter);
    summaryView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    summaryView_->setFont(WindowFont(13, "Arial"));
    summaryView_->setTextColor(widgets::ToQColor(widgets::colors::maroon));
    restoreButton_ = new QPushButton("Ga terug en herstel alles", this);
    restoreButton_->setObjectName("restoreButton");
    restoreButton_->setGeometry(100, 200, 160, 25);
    connect(restoreButton_, &QPushButton::clicked, this,
            platform::Guarded([this] { onRestoreClicked(); }));

    choosingPage_ = new QWidget(this);
    choosingPage_->setObjectName("choosingPage");
    choosingPage_->setGeometry(0, 0, 353, 233);
    choosingPage_->setAutoFillBackground(true);
    choosingPage_->raise();

    routeGroup_ = new QGroupBox("Route Selecteren", choosingPage_);
    routeGroup_->setObjectName("routeGroup");
    routeGroup_->setGeometry(8, 8, 177, 113);
    SetTextColor(routeGroup_, widgets::colors::red);
    routeLabel_ = MakeLabel(routeGroup_, "routeLabel", {8, 24, 145, 49},
                            "Selecteer een route waarin u in de mist wilt gaan rijden:",
                            widgets::colors::navy, true);
    routeBox_ = new QComboBox(routeGroup_);
    routeBox_->setObjectName("routeBox");
    routeBox_->setEditable(true);
    routeBox_->setInsertPolicy(QComboBox::NoInsert);  // the list holds folder names only
    routeBox_->setGeometry(8, 72, 161, 21);
    SetTextColor(routeBox_, widgets::colors::teal);
    routeBox_->setEditText("Geen Route Geselecteerd");
    // The change handler runs for the user's changes only: typing or picking an entry.
    connect(routeBox_->lineEdit(), &QLineEdit::textEdited, this,
            platform::Guarded([this] { onRouteEdited(); }));
    connect(routeBox_, &QComboBox::activated, this, platform::Guarded([this] { onRouteEdited(); }));

    weatherGroup_ = new QGroupBox("Het weer", choosingPage_);
    weatherGroup_->setObjectName("weatherGroup");
    weatherGroup_->setGeometry(192, 8, 153, 113);
    SetTextColor(weatherGroup_, widgets::colors::red);
    weatherLabel_ = MakeLabel(weatherGroup_, "weatherLabel", {8, 24, 137, 33},
                              "Kies het weer waarin u gaat rijden:", widgets::colors::navy, true);
    auto radio = [this](const char* name, const char* text, int top) {
        auto* button = new QRadioButton(text, weatherGroup_);
        button->setObjectName(name);
        button->setGeometry(16, top, 113, 17);
        SetTextColor(button, widgets::colors::teal);
        return button;
    };
    sunButton_ = radio("sunButton", "Zonnig (Clear)", 56);
    rainButton_ = radio("rainButton", "Regen (Rain)", 72);
    snowButton_ = radio("snowButton", "Sneeuw (Snow)", 88);
    sunButton_->setChecked(true);

    fogGroup_ = new QGroupBox("Mist instellingen", choosingPage_);
    fogGroup_->setObjectName("fogGroup");
    fogGroup_->setGeometry(8, 128, 337, 65);
    SetTextColor(fogGroup_, widgets::colors::red);
    visibilityBar_ = new widgets::TrackBar(fogGroup_);
    visibilityBar_->setObjectName("visibilityBar");
    visibilityBar_->setGeometry(8, 16, 150, 45);
    visibilityBar_->setRange(25, 125);
    visibilityBar_->setSingleStep(25);
    visibilityBar_->setPageStep(2);
    visibilityBar_->setTickPosition(QSlider::TicksBelow);
    visibilityBar_->setTickInterval(25);
    visibilityBar_->setValue(75);
    connect(visibilityBar_, &widgets::TrackBar::valueEdited, this,
            platform::Guarded([this] { onVisibilityChanged(); }));
    visibilityFrame_ = new QFrame(fogGroup_);
    visibilityFrame_->setObjectName("visibilityFrame");
    visibilityFrame_->setGeometry(168, 10, 161, 50);
    visibilityFrame_->setFrameShape(QFrame::Box);
    visibilityFrame_->setFrameShadow(QFrame::Sunken);
    visibilityCaption_ = MakeLabel(fogGroup_, "visibilityCaption", {176, 16, 83, 13},
                                   "Zicht in meters:", widgets::colors::navy, false);
    visibilityLabel_ = MakeLabel(fogGroup_, "visibilityLabel", {264, 16, 0, 0}, "75 m",
                                 widgets::colors::black, false);
    AutoSize(visibilityLabel_);
    fogStateCaption_ = MakeLabel(fogGroup_, "fogStateCaption", {176, 40, 0, 0},
                                 "Toestand:", widgets::colors::navy, false);
    AutoSize(fogStateCaption_);
    fogStateLabel_ =
        MakeLabel(fogGroup_, "fogStateLabel", {232, 40, 90, 14}, " Mist ",
                                mist::kFogStateColors[2], false);  // 75 m, where the bar starts
    fogStateLabel_->setAutoFillBackground(true);
    QPalette pal = fogStateLabel_->palette();
    pal.setColor(QPalette::Window, widgets::ToQColor(widgets::colors::black));
    fogStateLabel_->setPalette(pal);

    makeButton_ = new QPushButton("Maken...", choosingPage_);
    makeButton_->setObjectName("makeButton");
    makeButton_->setGeometry(136, 200, 75, 25);
    SetTextColor(makeButton_, widgets::colors::black);
    connect(makeButton_, &QPushButton::clicked, this,
            platform::Guarded([this] { onMakeClicked(); }));

    // Tab order: choosingPage_ (groups, then Maken...), restoreButton_, summaryView_.
    setTabOrder(routeBox_, sunButton_);
    setTabOrder(sunButton_, visibilityBar_);
    setTabOrder(visibilityBar_, makeButton_);
    setTabOrder(makeButton_, restoreButton_);
    setTabOrder(restoreButton_, summaryView_);
}

void FogRunPage::setTexts(const settings::WindowTexts& texts) {
    texts_ = texts;
    AutoSize(fogStateCaption_);
}

void FogRunPage::followVisibilityMouse() {
    visibilityBar_->setMousePressHandler([this](Qt::MouseButton button, int x, int y) {
        platform::RunGuarded([=, this] { onVisibilityMousePressed(button, x, y); });
    });
}
