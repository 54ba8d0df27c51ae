#include "gui/about/bevel_panel.h"

#include <QPainter>

#include "gui/widgets/qt_color.h"

namespace about {
namespace {

void Frame3D(QPainter& p, QRect r, const QColor& topLeft, const QColor& bottomRight) {
    p.setPen(topLeft);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(bottomRight);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

}  // namespace

void BevelPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor shadow = widgets::ToQColor(widgets::colors::buttonShadow),
                 light = widgets::ToQColor(widgets::colors::buttonHighlight);
    QRect r = rect();
    Frame3D(p, r, shadow, light);
    r.adjust(1, 1, -1, -1);
    Frame3D(p, r, light, shadow);
}

}  // namespace about
