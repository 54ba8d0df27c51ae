#include "mist/FogRunPage.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <optional>
#include <type_traits>

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

// What a control of the page is, and so how it is made.
enum class Kind {
    Label,
    WrappedLabel,
    Summary,
    Button,
    Page,
    Group,
    RouteBox,
    WeatherButton,
    VisibilityBar,
    Frame
};

// One control of the page as it first shows. `keep` stores it in the page's member for it.
struct Control {
    void (*keep)(FogRunPage& page, QWidget* control);
    Kind kind;
    const char* name;
    const char* parent;       // the parent's object name; none: the page itself
    int x, y, width, height;  // a label 0 wide takes the size of its text
    const char* text;
    std::optional<widgets::ColorCode> color = std::nullopt;  // of the text; none: the style's
    int fontHeight = 0;                                      // pixels; 0: the window's font
    const char* fontFace = nullptr;                          // none: the window's face
};

template <auto Member>
void Keep(FogRunPage& page, QWidget* control) {
    page.*Member = static_cast<std::remove_reference_t<decltype(page.*Member)>>(control);
}

QWidget* MakeControl(const Control& c, QWidget* parent) {
    const QString text = QString::fromUtf8(c.text);
    QWidget* w = nullptr;
    switch (c.kind) {
        case Kind::Label:
        case Kind::WrappedLabel: {
            auto* label = new QLabel(text, parent);
            label->setWordWrap(c.kind == Kind::WrappedLabel);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setTextFormat(Qt::PlainText);
            w = label;
            break;
        }
        case Kind::Summary: {
            auto* view = new QTextEdit(parent);
            view->setReadOnly(true);
            view->setAlignment(Qt::AlignHCenter);
            view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            w = view;
            break;
        }
        case Kind::Button:
            w = new QPushButton(text, parent);
            break;
        case Kind::Page:
            w = new QWidget(parent);
            w->setAutoFillBackground(true);
            w->raise();
            break;
        case Kind::Group:
            w = new QGroupBox(text, parent);
            break;
        case Kind::RouteBox: {
            auto* box = new QComboBox(parent);
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert);  // the list holds folder names only
            box->setEditText(text);
            w = box;
            break;
        }
        case Kind::WeatherButton:
            w = new QRadioButton(text, parent);
            break;
        case Kind::VisibilityBar: {
            auto* bar = new widgets::TrackBar(parent);
            bar->setRange(25, 125);
            bar->setSingleStep(25);
            bar->setPageStep(2);
            bar->setTickPosition(QSlider::TicksBelow);
            bar->setTickInterval(25);
            bar->setValue(75);
            w = bar;
            break;
        }
        case Kind::Frame: {
            auto* frame = new QFrame(parent);
            frame->setFrameShape(QFrame::Box);
            frame->setFrameShadow(QFrame::Sunken);
            w = frame;
            break;
        }
    }
    w->setObjectName(c.name);
    w->setGeometry(c.x, c.y, c.width, c.height);
    if (c.fontHeight != 0)
        w->setFont(c.fontFace ? WindowFont(c.fontHeight, c.fontFace) : WindowFont(c.fontHeight));
    if (c.color) {
        if (auto* view = qobject_cast<QTextEdit*>(w)) {
            view->setTextColor(widgets::ToQColor(*c.color));
        } else {
            SetTextColor(w, *c.color);
        }
    }
    if (auto* label = qobject_cast<QLabel*>(w); label && c.width == 0)
        label->resize(label->sizeHint());
    return w;
}

}  // namespace

FogRunPage::FogRunPage(QWidget* parent) : QWidget(parent) {
    setObjectName("client");
    setFixedSize(351, 229);
    buildControls();
}

FogRunPage::~FogRunPage() = default;

void FogRunPage::buildControls() {
    using namespace widgets::colors;
    using P = FogRunPage;
    using enum Kind;
    // In creation order, which sets the stacking and the tab chain: the completion page, then the
    // choosing page over it.
    static constexpr Control kControls[] = {
        {Keep<&P::completionLabel_>, WrappedLabel, "completionLabel", nullptr, 8, 8, 321, 89,
         "Het maken van mist in Train Simulator is voltooid en kan nu in Train Simulator worden "
         "gebruikt. klik op de onderstaande knop \"Ga terug en herstel alles\" om de gewijzigde "
         "bestanden weer in hun oude staat terug te brengen en dit programma af te sluiten.",
         navy, 13},
        {Keep<&P::summaryView_>, Summary, "summaryView", nullptr, 8, 104, 329, 89, "", maroon, 13,
         "Arial"},
        {Keep<&P::restoreButton_>, Button, "restoreButton", nullptr, 100, 200, 160, 25,
         "Ga terug en herstel alles"},
        {Keep<&P::choosingPage_>, Page, "choosingPage", nullptr, 0, 0, 353, 233, ""},

        {Keep<&P::routeGroup_>, Group, "routeGroup", "choosingPage", 8, 8, 177, 113,
         "Route Selecteren", red},
        {Keep<&P::routeLabel_>, WrappedLabel, "routeLabel", "routeGroup", 8, 24, 145, 49,
         "Selecteer een route waarin u in de mist wilt gaan rijden:", navy},
        {Keep<&P::routeBox_>, RouteBox, "routeBox", "routeGroup", 8, 72, 161, 21,
         "Geen Route Geselecteerd", teal},

        {Keep<&P::weatherGroup_>, Group, "weatherGroup", "choosingPage", 192, 8, 153, 113,
         "Het weer", red},
        {Keep<&P::weatherLabel_>, WrappedLabel, "weatherLabel", "weatherGroup", 8, 24, 137, 33,
         "Kies het weer waarin u gaat rijden:", navy},
        {Keep<&P::sunButton_>, WeatherButton, "sunButton", "weatherGroup", 16, 56, 113, 17,
         "Zonnig (Clear)", teal},
        {Keep<&P::rainButton_>, WeatherButton, "rainButton", "weatherGroup", 16, 72, 113, 17,
         "Regen (Rain)", teal},
        {Keep<&P::snowButton_>, WeatherButton, "snowButton", "weatherGroup", 16, 88, 113, 17,
         "Sneeuw (Snow)", teal},

        {Keep<&P::fogGroup_>, Group, "fogGroup", "choosingPage", 8, 128, 337, 65,
         "Mist instellingen", red},
        {Keep<&P::visibilityBar_>, VisibilityBar, "visibilityBar", "fogGroup", 8, 16, 150, 45, ""},
        {Keep<&P::visibilityFrame_>, Frame, "visibilityFrame", "fogGroup", 168, 10, 161, 50, ""},
        {Keep<&P::visibilityCaption_>, Label, "visibilityCaption", "fogGroup", 176, 16, 83, 13,
         "Zicht in meters:", navy},
        {Keep<&P::visibilityLabel_>, Label, "visibilityLabel", "fogGroup", 264, 16, 0, 0, "75 m",
         black},
        {Keep<&P::fogStateCaption_>, Label, "fogStateCaption", "fogGroup", 176, 40, 0, 0,
         "Toestand:", navy},
        // 75 m, where the bar starts.
        {Keep<&P::fogStateLabel_>, Label, "fogStateLabel", "fogGroup", 232, 40, 90, 14, " Mist ",
         mist::kFogStateColors[2]},

        {Keep<&P::makeButton_>, Button, "makeButton", "choosingPage", 136, 200, 75, 25, "Maken...",
         black},
    };
    for (const Control& c : kControls) {
        QWidget* parent = c.parent ? findChild<QWidget*>(QLatin1String(c.parent)) : this;
        c.keep(*this, MakeControl(c, parent));
    }

    sunButton_->setChecked(true);
    fogStateLabel_->setAutoFillBackground(true);
    QPalette pal = fogStateLabel_->palette();
    pal.setColor(QPalette::Window, widgets::ToQColor(black));
    fogStateLabel_->setPalette(pal);

    connect(restoreButton_, &QPushButton::clicked, this,
            platform::Guarded([this] { onRestoreClicked(); }));
    // The change handler runs for the user's changes only: typing or picking an entry.
    connect(routeBox_->lineEdit(), &QLineEdit::textEdited, this,
            platform::Guarded([this] { onRouteEdited(); }));
    connect(routeBox_, &QComboBox::activated, this, platform::Guarded([this] { onRouteEdited(); }));
    connect(visibilityBar_, &widgets::TrackBar::valueEdited, this,
            platform::Guarded([this] { onVisibilityChanged(); }));
    connect(makeButton_, &QPushButton::clicked, this,
            platform::Guarded([this] { onMakeClicked(); }));

    // Tab order: choosingPage_ (groups, then Maken...), restoreButton_, summaryView_.
    setTabOrder(routeBox_, sunButton_);
    setTabOrder(sunButton_, visibilityBar_);
    setTabOrder(visibilityBar_, makeButton_);
    setTabOrder(makeButton_, restoreButton_);
    setTabOrder(restoreButton_, summaryView_);
}

void FogRunPage::applyText(int target, const std::string& text) {
    using namespace settings;
    switch (static_cast<MainTarget>(target)) {
        case kRouteLabel: routeLabel_->setText(ToQ(text)); break;
        case kRouteGroup: routeGroup_->setTitle(ToQ(text)); break;
        case kRouteBoxText: routeBox_->setEditText(ToQ(text)); break;
        case kNoRouteText: texts_.noRouteText = text; break;
        case kWeatherGroup: weatherGroup_->setTitle(ToQ(text)); break;
        case kWeatherLabel: weatherLabel_->setText(ToQ(text)); break;
        case kSunButton: sunButton_->setText(ToQ(text)); break;
        case kRainButton: rainButton_->setText(ToQ(text)); break;
        case kSnowButton: snowButton_->setText(ToQ(text)); break;
        case kFogGroup: fogGroup_->setTitle(ToQ(text)); break;
        case kFogStateCaption:
            fogStateCaption_->setText(ToQ(text));
            fogStateCaption_->resize(fogStateCaption_->sizeHint());
            break;
        case kVisibilityCaption: visibilityCaption_->setText(ToQ(text)); break;
        case kMakeButton: makeButton_->setText(ToQ(text)); break;
        case kCompletionLabel: completionLabel_->setText(ToQ(text)); break;
        case kRestoreButton: restoreButton_->setText(ToQ(text)); break;
        case kInfoTitle: texts_.infoTitleText = text; break;
        case kInfoRoute: texts_.infoRouteText = text; break;
        case kInfoWeather: texts_.infoWeatherText = text; break;
        case kInfoVisibility: texts_.infoVisibilityText = text; break;
        case kInfoFogState: texts_.infoFogStateText = text; break;
        case kFogState0: texts_.fogStateTexts[0] = text; break;
        case kFogState1: texts_.fogStateTexts[1] = text; break;
        case kFogState2: texts_.fogStateTexts[2] = text; break;
        case kFogState3: texts_.fogStateTexts[3] = text; break;
        case kFogState4: texts_.fogStateTexts[4] = text; break;
        case kErrorTitle: texts_.errorTitle = text; break;
        case kNoRouteMsg: texts_.noRouteMsg = text; break;
        case kRouteErrMsg: texts_.routeErrMsg = text; break;
        case kRouteNotFoundMsg: texts_.routeNotFoundMsg = text; break;
        case kBackupFailedMsg: texts_.backupFailedMsg = text; break;
        case kRestoreFailedMsg: texts_.restoreFailedMsg = text; break;
        case kRunPendingMsg: texts_.runPendingMsg = text; break;
        case kInUseMsg: texts_.inUseMsg = text; break;
        case kInstallFailedMsg: texts_.installFailedMsg = text; break;
        case kRecordRefusedMsg: texts_.recordRefusedMsg = text; break;
        case kAlreadyFoggedMsg: texts_.alreadyFoggedMsg = text; break;
        case kInfoOpenRailsActivities: texts_.openRailsActivitiesText = text; break;
        case kInfoOpenRailsWeatherFile: texts_.openRailsWeatherFileText = text; break;
        case kInfoOpenRailsSkipped: texts_.openRailsSkippedText = text; break;
        case kOpenRailsFogWord: texts_.openRailsFogWord = text; break;
        default: break;
    }
}

void FogRunPage::followVisibilityMouse() {
    visibilityBar_->setMousePressHandler([this](Qt::MouseButton button, int x, int y) {
        platform::RunGuarded([=, this] { onVisibilityMousePressed(button, x, y); });
    });
}
