#include "gui/about/about_window.h"

#include <QApplication>
#include <QBitmap>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>

#include "core/platform/messages.h"
#include "core/settings/texts.h"
#include "gui/about/window_font.h"
#include "gui/texts/apply_texts.h"
#include "gui/widgets/label_text.h"
#include "gui/widgets/link_label.h"
#include "gui/widgets/qt_color.h"
#include "gui/widgets/qt_text.h"
#include "ui_about_window.h"

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

constexpr ColorCode kHoverTextColor = widgets::ColorFromRgb(255, 128, 64);

// A transparent picture shows its surroundings wherever it has the colour of its bottom-left
// pixel.
void CutOutCornerColor(QLabel& label) {
    QPixmap picture = label.pixmap();
    if (picture.isNull()) return;
    const QColor key = picture.toImage().pixelColor(0, picture.height() - 1);
    picture.setMask(picture.createMaskFromColor(key, Qt::MaskInColor));
    label.setPixmap(picture);
}

void SetLabel(QLabel* label, const std::string& text) {
    SetLabelText(*label, ToQ(text));
    label->adjustSize();
}

// The colours of a link and of its hover look; the form gives the rest.
void SetLinkColors(LinkLabel& link) {
    link.setTextColor(colors::blue);
    link.setHoverColor(colors::white);
    link.setHoverTextColor(kHoverTextColor);
    link.setHighlightColor(colors::purple);
}

}  // namespace

AboutWindow::AboutWindow(std::function<std::string()> currentLanguage, QWidget* parent)
    : widgets::ProgramDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                         Qt::MSWindowsFixedSizeDialogHint),
      ui_(std::make_unique<Ui::AboutWindow>()),
      currentLanguage_(std::move(currentLanguage)) {
    // Before the form: its bold labels take the window's font, and its pictures are resources.
    setFont(about::WindowFont());
    InitAboutResources();
    ui_->setupUi(this);
    setUpControls();
    showTexts(settings::BuiltInTexts(settings::TextWindow::About));
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::setUpControls() {
    CutOutCornerColor(*ui_->trainPicture);
    CutOutCornerColor(*ui_->iconPicture);
    // As wide as its text, which is plain: an "&" in it is shown, never taken as an access key.
    ui_->copyrightLabel->adjustSize();
    SetLinkColors(*ui_->webLink);
    SetLinkColors(*ui_->mailLink);

    ui_->okButton->setIcon(
        style()->standardIcon(QStyle::SP_DialogOkButton, nullptr, ui_->okButton));
    connect(ui_->okButton, &QPushButton::clicked, this,
            platform::Guarded([this] { onOkClicked(); }));
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
    SetLabel(ui_->productLabel, texts.text(settings::Text::AboutProduct) + kProductTail);
    SetLabel(ui_->versionLabel, texts.text(settings::Text::AboutVersion) + kVersionTail);
    ui_->webCaption->adjustSize();
    ui_->mailCaption->adjustSize();
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
