#include "gui/about/about_window.h"

#include <QApplication>
#include <QBitmap>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <optional>

#include "core/platform/messages.h"
#include "core/settings/texts.h"
#include "gui/about/window_font.h"
#include "gui/texts/apply_texts.h"
#include "gui/widgets/label_text.h"
#include "gui/widgets/link_label.h"
#include "gui/widgets/qt_color.h"
#include "gui/widgets/qt_text.h"

// The pictures live in this static library; referencing the initialiser keeps the linker from
// dropping them. Q_INIT_RESOURCE must be used outside any namespace.
static void InitAboutResources() {
    Q_INIT_RESOURCE(about);
}

namespace {

using namespace widgets;

// Appended in every language: a pack supplies only the words in front of them.
constexpr char kProductTail[] = "  ZEL Nevora";
// The version is the build's (the CMake project version), the same one the release archives carry.
constexpr char kVersionTail[] = "      " ZEL_VERSION;

constexpr char kWebAddress[] = "https://www.example.com/zel-nevora";
constexpr char kMailAddress[] = "zel-nevora@example.com";
constexpr char kCopyright[] = "Copyright (c) 2026 ZEL Nevora team";

constexpr ColorCode kWindowColor = widgets::ColorFromRgb(49, 106, 197);
constexpr ColorCode kHoverTextColor = widgets::ColorFromRgb(255, 128, 64);

void SetColors(QWidget* w, ColorCode text, std::optional<ColorCode> background = std::nullopt) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, ToQColor(text));
    pal.setColor(QPalette::ButtonText, ToQColor(text));
    if (background) {
        pal.setColor(QPalette::Window, ToQColor(*background));
        w->setAutoFillBackground(true);
    }
    w->setPalette(pal);
}

// A panel with a lowered outer and a raised inner bevel, one pixel each.
class BevelPanel : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QColor shadow = ToQColor(colors::buttonShadow),
                     light = ToQColor(colors::buttonHighlight);
        QRect r = rect();
        Frame3D(p, r, shadow, light);
        r.adjust(1, 1, -1, -1);
        Frame3D(p, r, light, shadow);
    }

  private:
    static void Frame3D(QPainter& p, QRect r, const QColor& topLeft, const QColor& bottomRight) {
        p.setPen(topLeft);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    }
};

// A transparent picture shows its surroundings wherever it has the colour of its bottom-left
// pixel.
QLabel* MakePicture(QWidget* parent, const char* name, QRect geometry) {
    InitAboutResources();
    QPixmap picture(QStringLiteral(":/about/") + QLatin1String(name));
    if (!picture.isNull()) {
        const QColor key = picture.toImage().pixelColor(0, picture.height() - 1);
        picture.setMask(picture.createMaskFromColor(key, Qt::MaskInColor));
    }
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(picture);
    label->setGeometry(geometry);
    return label;
}

// Bold black label sized to its text from a fixed top-left corner.
QLabel* MakeLabel(QWidget* parent, const char* name, QPoint topLeft, const char* text) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setFont(about::WindowFont(true));
    SetColors(label, colors::black);
    label->move(topLeft);
    label->adjustSize();
    return label;
}

void SetLabel(QLabel* label, const std::string& text) {
    SetLabelText(*label, ToQ(text));
    label->adjustSize();
}

LinkLabel* MakeLink(QWidget* parent, const char* name, QRect geometry, const char* caption,
                    LinkType type, const char* address, bool showAccelChar) {
    auto* link = new LinkLabel(parent);
    link->setObjectName(name);
    // Loaded as one batch of settings: the size follows the text once, at the end.
    link->beginLoading();
    link->setFont(about::WindowFont(true, true));
    link->setTextColor(colors::blue);
    link->setBackgroundColor(colors::buttonFace);
    link->setTransparent(true);
    link->setHoverColor(colors::white);
    link->setHoverTextColor(kHoverTextColor);
    link->setHighlightColor(colors::purple);
    link->setShowHighlight(false);
    link->setShowShadow(true);
    link->setLinkActive(true);
    link->setBevelStyle(BevelStyle::None);
    link->setBevelWidth(1);
    link->setBorderWidth(0);
    link->setTextDirection(TextDirection::Right);
    link->setShortenFilenames(false);
    link->setShowMnemonic(showAccelChar);
    link->setLinkType(type);
    link->setLinkAddress(QString::fromLatin1(address));
    link->setText(QString::fromLatin1(caption));
    link->setLabelStyle(LabelStyle::Custom);
    link->setGeometry(geometry);
    link->endLoading();
    return link;
}

}  // namespace

AboutWindow::AboutWindow(std::function<std::string()> currentLanguage, QWidget* parent)
    : widgets::ProgramDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                         Qt::MSWindowsFixedSizeDialogHint),
      currentLanguage_(std::move(currentLanguage)) {
    setObjectName("AboutWindow");
    setModal(false);
    setFont(about::WindowFont());
    setFixedSize(315, 213);
    SetColors(this, colors::black, kWindowColor);
    buildControls();
    showTexts(settings::BuiltInTexts(settings::TextWindow::About));
}

void AboutWindow::buildControls() {
    panel_ = new BevelPanel(this);
    panel_->setObjectName("panel");
    panel_->setGeometry(8, 8, 297, 161);
    SetColors(panel_, colors::black, colors::white);

    trainPicture_ = MakePicture(panel_, "trainPicture", {-8, 8, 120, 130});
    trainPicture_->setScaledContents(true);
    productLabel_ = MakeLabel(panel_, "productLabel", {120, 24}, "");
    versionLabel_ = MakeLabel(panel_, "versionLabel", {120, 40}, "");
    webCaption_ = MakeLabel(panel_, "webCaption", {120, 64}, "");
    webLink_ = MakeLink(panel_, "webLink", {160, 64, 110, 14}, "Velmaron", LinkType::Web,
                        kWebAddress, false);
    mailCaption_ = MakeLabel(panel_, "mailCaption", {120, 80}, "");
    mailLink_ =
        MakeLink(panel_, "mailLink", {168, 80, 95, 14}, "", LinkType::Email, kMailAddress, true);
    iconPicture_ = MakePicture(panel_, "iconPicture", {168, 96, 48, 48});
    // Plain text: an "&" in it is shown, never taken as an access key.
    copyrightLabel_ = MakeLabel(panel_, "copyrightLabel", {50, 144}, kCopyright);

    okButton_ = new QPushButton(this);
    okButton_->setObjectName("okButton");
    okButton_->setGeometry(111, 178, 90, 27);
    okButton_->setFont(about::WindowFont(true));
    SetColors(okButton_, colors::black);
    okButton_->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton, nullptr, okButton_));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, platform::Guarded([this] { onOkClicked(); }));
}

void AboutWindow::onShown() {
    applyLanguage(currentLanguage_ ? currentLanguage_() : "");
}

void AboutWindow::applyLanguage(const std::string& name) {
    // The pack as it is: no box speaks here, so a missing pack or key leaves its texts empty.
    showTexts(settings::LoadTexts(settings::TextWindow::About, name));
}

void AboutWindow::showTexts(const settings::WindowTexts& texts) {
    settings::ApplyTexts(*this, texts);
    SetLabel(productLabel_, texts.text(settings::Text::AboutProduct) + kProductTail);
    SetLabel(versionLabel_, texts.text(settings::Text::AboutVersion) + kVersionTail);
    webCaption_->adjustSize();
    mailCaption_->adjustSize();
}

void AboutWindow::onOkClicked() {
    hide();
}

void AboutWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;  // the window system's re-show (after minimising) is no opening
    widgets::CenterOnPrimaryScreen(*this);
    platform::RunGuarded([this] { onShown(); });
}
