// The visibility scale of the fog-run page.
#include <QLabel>

#include "core/fog/visibility.h"
#include "gui/fog/fog_run_page.h"
#include "gui/widgets/label_text.h"
#include "gui/widgets/qt_color.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/track_bar.h"

void FogRunPage::onVisibilityChanged() {
    updateVisibilityDisplay();
}

void FogRunPage::updateVisibilityDisplay() {
    const std::array<std::string, 5> displayTexts = fogStateDisplayTexts();
    const int position = fog::SnapToLevel(visibilityBar_->value());
    visibilityBar_->setValue(position);
    visibilityLabel_->setText(QString::number(position) + " m");
    visibilityLabel_->resize(visibilityLabel_->sizeHint());
    const int index = fog::LevelIndex(position);
    if (index < 0) return;
    widgets::SetLabelText(*fogStateLabel_, widgets::ToQ(displayTexts[std::size_t(index)]));
    QPalette pal = fogStateLabel_->palette();
    pal.setColor(QPalette::WindowText, widgets::ToQColor(fog::kFogStateColors[std::size_t(index)]));
    fogStateLabel_->setPalette(pal);
}

void FogRunPage::onVisibilityMousePressed(Qt::MouseButton, int x, int) {
    visibilityBar_->setValue(
        fog::PositionFromMouse(x, visibilityBar_->maximum(), visibilityBar_->width()));
}

std::array<std::string, 5> FogRunPage::fogStateDisplayTexts() const {
    using settings::Text;
    constexpr Text kStates[] = {Text::FogState0, Text::FogState1, Text::FogState2, Text::FogState3,
                                Text::FogState4};
    std::array<std::string, 5> texts;
    static_assert(std::size(kStates) == texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = " " + texts_.text(kStates[i]) + " ";
    return texts;
}
