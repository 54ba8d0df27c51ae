// The visibility scale of the main window.
#include "app/MainWindow.h"

#include <QLabel>

#include "mist/visibility.h"
#include "widgets/TrackBar.h"
#include "widgets/qcolor.h"
#include "widgets/qtext.h"

void MainWindow::onVisibilityChanged() { UpdateVisibilityDisplay(FogStateDisplayTexts()); }

void MainWindow::UpdateVisibilityDisplay(const std::array<std::string, 5>& displayTexts) {
    const int position = mist::SnapToLevel(visibilityBar->value());
    visibilityBar->setValue(position);
    visibilityLabel->setText(QString::number(position) + " m");
    visibilityLabel->resize(visibilityLabel->sizeHint());
    const int index = mist::LevelIndex(position);
    if (index < 0) return;
    fogStateLabel->setText(widgets::ToQ(displayTexts[std::size_t(index)]));
    QPalette pal = fogStateLabel->palette();
    pal.setColor(QPalette::WindowText,
                 widgets::ToQColor(mist::kFogStateColors[std::size_t(index)]));
    fogStateLabel->setPalette(pal);
}

void MainWindow::onVisibilityMousePressed(Qt::MouseButton, int x, int) {
    visibilityBar->setValue(
        mist::PositionFromMouse(x, visibilityBar->maximum(), visibilityBar->width()));
}
