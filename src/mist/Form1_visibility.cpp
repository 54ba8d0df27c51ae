// The visibility scale of the main window.
#include <QLabel>

#include "app/TForm1.h"
#include "mist/visibility.h"
#include "widgets/TTrackBar.h"
#include "widgets/qcolor.h"
#include "widgets/qtext.h"

void TForm1::TrackBar1Change() { UpdateVisibilityDisplay(FogStateDisplayTexts()); }

void TForm1::UpdateVisibilityDisplay(const std::array<std::string, 5>& displayTexts) {
    const int position = mist::SnapToLevel(TrackBar1->Position());
    TrackBar1->SetPosition(position);
    zichtlabel->setText(QString::number(position) + " m");
    zichtlabel->resize(zichtlabel->sizeHint());
    const int index = mist::LevelIndex(position);
    if (index < 0) return;
    toestandlabel->setText(widgets::ToQ(displayTexts[std::size_t(index)]));
    QPalette pal = toestandlabel->palette();
    pal.setColor(QPalette::WindowText, widgets::ToQColor(mist::kFogStateColors[std::size_t(index)]));
    toestandlabel->setPalette(pal);
}

void TForm1::TrackBar1MouseDown(Qt::MouseButton, int x, int) {
    TrackBar1->SetPosition(mist::PositionFromMouse(x, TrackBar1->maximum(), TrackBar1->width()));
}
