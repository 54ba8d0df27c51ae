#include "about/zel_info.h"

#include <QApplication>
#include <QBitmap>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <optional>

#include "about/form_font.h"
#include "platform/messages.h"
#include "settings/texts.h"
#include "widgets/TLinkLabel.h"
#include "widgets/qcolor.h"
#include "widgets/qtext.h"

// The pictures live in this static library; referencing the initialiser keeps the linker from
// dropping them. Q_INIT_RESOURCE must be used outside any namespace.
static void InitAboutResources() { Q_INIT_RESOURCE(about); }

namespace {

using namespace widgets;

// Appended in every language: a pack supplies only the words in front of them.
constexpr char kProductTail[] = "  ZEL Nevora";
// The version is the build's (the CMake project version), the same one the release archives carry.
constexpr char kVersionTail[] = "      " ZEL_VERSION;

constexpr char kWebAddress[] = "https://www.example.com/zel-nevora";
constexpr char kMailAddress[] = "zel-nevora@example.com";
constexpr char kCopyright[] = "Copyright (c) 2026 ZEL Nevora team";

constexpr TColor kFormColor = 12937777;     // RGB(49, 106, 197)
constexpr TColor kHoverFontColor = 4227327;  // RGB(255, 128, 64)

void SetColors(QWidget* w, TColor text, std::optional<TColor> background = std::nullopt) {
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
        const QColor shadow = ToQColor(clBtnShadow), light = ToQColor(clBtnHighlight);
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
    label->setFont(about::FormFont(true));
    SetColors(label, clBlack);
    label->move(topLeft);
    label->adjustSize();
    return label;
}

void SetLabel(QLabel* label, const std::string& text) {
    label->setText(ToQ(text));
    label->adjustSize();
}

TLinkLabel* MakeLink(QWidget* parent, const char* name, QRect geometry, const char* caption,
                     TLinkType type, const char* address, bool showAccelChar) {
    auto* link = new TLinkLabel(parent);
    link->setObjectName(name);
    // As read from a form resource: the size follows the text once, at the end.
    link->BeginLoading();
    link->setFont(about::FormFont(true, true));
    link->SetFontColor(clBlue);
    link->SetColor(clBtnFace);
    link->SetTransparent(true);
    link->SetHoverColor(clWhite);
    link->SetHoverFontColor(kHoverFontColor);
    link->SetHighlightColor(clPurple);
    link->SetShowHighlight(false);
    link->SetShowShadow(true);
    link->SetLinkActive(true);
    link->SetBevelStyle(bvNone);
    link->SetBevelWidth(1);
    link->SetBorderWidth(0);
    link->SetDirection(tdRight);
    link->SetShortenFilenames(false);
    link->SetShowAccelChar(showAccelChar);
    link->SetLinkType(type);
    link->SetLinkedAdress(QString::fromLatin1(address));
    link->SetCaption(QString::fromLatin1(caption));
    link->SetStyle(lsCustom);
    link->setGeometry(geometry);
    link->Loaded();
    return link;
}

}  // namespace

TzelForm::TzelForm(std::function<std::string()> currentLanguage, QWidget* parent)
    : widgets::FormDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      currentLanguage_(std::move(currentLanguage)) {
    setObjectName("zelForm");
    setModal(false);
    setWindowTitle(QStringLiteral("Info..."));
    setFont(about::FormFont());
    setFixedSize(315, 213);
    SetColors(this, clBlack, kFormColor);
    BuildControls();
}

void TzelForm::BuildControls() {
    Panel1 = new BevelPanel(this);
    Panel1->setObjectName("Panel1");
    Panel1->setGeometry(8, 8, 297, 161);
    SetColors(Panel1, clBlack, clWhite);

    Image2 = MakePicture(Panel1, "Image2", {-8, 8, 120, 130});
    Image2->setScaledContents(true);
    ProductName = MakeLabel(Panel1, "ProductName", {120, 24}, "Product:  ZEL Nevora");
    Version = MakeLabel(Panel1, "Version", {120, 40}, "Versie:      " ZEL_VERSION);
    Web = MakeLabel(Panel1, "Web", {120, 64}, "Web:");
    LinkLabel1 = MakeLink(Panel1, "LinkLabel1", {160, 64, 110, 14}, "Velmaron", ltWWW, kWebAddress,
                          false);
    Mail = MakeLabel(Panel1, "Mail", {120, 80}, "E-mail:");
    Mail_adres = MakeLink(Panel1, "Mail_adres", {168, 80, 95, 14}, "Stuur een E-mail", ltEMail,
                          kMailAddress, true);
    Image1 = MakePicture(Panel1, "Image1", {168, 96, 48, 48});
    // Plain text: an "&" in it is shown, never taken as an access key.
    Copyright = MakeLabel(Panel1, "Copyright", {50, 144}, kCopyright);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName("OKButton");
    OKButton->setGeometry(111, 178, 90, 27);
    OKButton->setFont(about::FormFont(true));
    SetColors(OKButton, clBlack);
    OKButton->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton, nullptr, OKButton));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, platform::Guarded([this] { OKButtonClick(); }));
}

void TzelForm::FormShow() { ApplyAboutLanguage(currentLanguage_ ? currentLanguage_() : ""); }

void TzelForm::ApplyAboutLanguage(const std::string& name) {
    for (const settings::LoadedText& t : settings::LoadTexts(settings::AboutTexts(), name)) {
        switch (t.target) {
            case settings::kAboutCaption: setWindowTitle(ToQ(t.text)); break;
            case settings::kAboutProduct: SetLabel(ProductName, t.text + kProductTail); break;
            case settings::kAboutVersion: SetLabel(Version, t.text + kVersionTail); break;
            case settings::kAboutWeb: SetLabel(Web, t.text); break;
            case settings::kAboutMail: SetLabel(Mail, t.text); break;
            case settings::kAboutMailAddress: Mail_adres->SetCaption(ToQ(t.text)); break;
            case settings::kAboutButton: OKButton->setText(ToQ(t.text)); break;
            default: break;
        }
    }
}

void TzelForm::OKButtonClick() { hide(); }

void TzelForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;  // the window system's re-show (after minimising) is no opening
    widgets::CenterOnPrimaryScreen(*this);
    platform::RunGuarded([this] { FormShow(); });
}

