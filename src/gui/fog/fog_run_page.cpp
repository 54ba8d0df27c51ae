#include "gui/fog/fog_run_page.h"

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

#include "core/fog/visibility.h"
#include "core/platform/messages.h"
#include "core/settings/texts.h"
#include "gui/widgets/click_through.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/label_text.h"
#include "gui/widgets/qt_color.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/track_bar.h"

using widgets::ToQ;
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

// One control of the page as it is made; the text table's texts come with the language. `keep`
// stores it in the page's member for it.
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
            bar->setValueSuffix(" m");
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
        {Keep<&P::completionLabel_>, WrappedLabel, "completionLabel", nullptr, 8, 8, 321, 89, "",
         navy, 13},
        {Keep<&P::summaryView_>, Summary, "summaryView", nullptr, 8, 104, 329, 89, "", maroon, 13,
         "Arial"},
        {Keep<&P::restoreButton_>, Button, "restoreButton", nullptr, 100, 200, 160, 25, ""},
        {Keep<&P::choosingPage_>, Page, "choosingPage", nullptr, 0, 0, 353, 233, ""},

        {Keep<&P::routeGroup_>, Group, "routeGroup", "choosingPage", 8, 8, 177, 113, "", red},
        {Keep<&P::routeLabel_>, WrappedLabel, "routeLabel", "routeGroup", 8, 24, 145, 49, "", navy},
        {Keep<&P::routeBox_>, RouteBox, "routeBox", "routeGroup", 8, 72, 161, 21, "", teal},

        {Keep<&P::weatherGroup_>, Group, "weatherGroup", "choosingPage", 192, 8, 153, 113, "", red},
        {Keep<&P::weatherLabel_>, WrappedLabel, "weatherLabel", "weatherGroup", 8, 24, 137, 33, "",
         navy},
        {Keep<&P::sunButton_>, WeatherButton, "sunButton", "weatherGroup", 16, 56, 113, 17, "",
         teal},
        {Keep<&P::rainButton_>, WeatherButton, "rainButton", "weatherGroup", 16, 72, 113, 17, "",
         teal},
        {Keep<&P::snowButton_>, WeatherButton, "snowButton", "weatherGroup", 16, 88, 113, 17, "",
         teal},

        {Keep<&P::fogGroup_>, Group, "fogGroup", "choosingPage", 8, 128, 337, 65, "", red},
        {Keep<&P::visibilityBar_>, VisibilityBar, "visibilityBar", "fogGroup", 8, 16, 150, 45, ""},
        {Keep<&P::visibilityFrame_>, Frame, "visibilityFrame", "fogGroup", 168, 10, 161, 50, ""},
        {Keep<&P::visibilityCaption_>, Label, "visibilityCaption", "fogGroup", 176, 16, 83, 13, "",
         navy},
        {Keep<&P::visibilityLabel_>, Label, "visibilityLabel", "fogGroup", 264, 16, 0, 0, "75 m",
         black},
        {Keep<&P::fogStateCaption_>, Label, "fogStateCaption", "fogGroup", 176, 40, 0, 0, "", navy},
        // 75 m, where the bar starts.
        {Keep<&P::fogStateLabel_>, Label, "fogStateLabel", "fogGroup", 232, 40, 90, 14, "",
         fog::kFogStateColors[2]},

        {Keep<&P::makeButton_>, Button, "makeButton", "choosingPage", 136, 200, 75, 25, "", black},
    };
    for (const Control& c : kControls) {
        QWidget* parent = c.parent ? findChild<QWidget*>(QLatin1String(c.parent)) : this;
        c.keep(*this, MakeControl(c, parent));
    }

    sunButton_->setChecked(true);
    widgets::SetLabelPartner(*routeLabel_, *routeBox_);
    widgets::SetLabelPartner(*weatherLabel_, *weatherGroup_);
    widgets::SetLabelPartner(*visibilityCaption_, *visibilityBar_);
    widgets::SetLabelPartner(*fogStateCaption_, *visibilityBar_);
    widgets::SetLabelPartner(*completionLabel_, *restoreButton_);
    // The restore button lies under the make button, and the make button under it.
    widgets::IgnoreClickThrough(*choosingPage_, {restoreButton_, makeButton_});
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

void FogRunPage::setTexts(const settings::WindowTexts& texts) {
    texts_ = texts;
    fogStateCaption_->resize(fogStateCaption_->sizeHint());  // a label as wide as its text
    updateVisibilityDisplay();
}

void FogRunPage::followVisibilityMouse() {
    visibilityBar_->setMousePressHandler([this](Qt::MouseButton button, int x, int y) {
        platform::RunGuarded([=, this] { onVisibilityMousePressed(button, x, y); });
    });
}
