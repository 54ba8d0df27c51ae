#include "gui/widgets/track_bar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWheelEvent>
#include <vector>

namespace widgets {
namespace {

TEST(TrackBar, EachWheelNotchIsOneReportedLineStep) {
    TrackBar bar;
    bar.setRange(25, 125);
    bar.setSingleStep(25);
    bar.setPageStep(2);
    bar.setValue(75);
    std::vector<int> reports;  // the position at each change report
    QObject::connect(&bar, &TrackBar::valueEdited, [&] { reports.push_back(bar.value()); });
    const auto wheel = [&](QPoint angle, bool inverted = false) {
        QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, inverted);
        QApplication::sendEvent(&bar, &e);
    };
    wheel({0, 240});        // two notches forward: two steps down
    wheel({0, -100});       // short of a notch: nothing yet
    wheel({0, -20});        // completes it
    wheel({-120, 0});       // a sideways tilt counts too
    wheel({0, 120}, true);  // inverted delta: the finger moved backward
    EXPECT_EQ(reports, std::vector<int>({50, 25, 50, 75, 100}));
}

}  // namespace
}  // namespace widgets
