#include "gui/widgets/track_bar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>

namespace widgets {

TrackBar::TrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setFocusPolicy(Qt::StrongFocus);
    setTracking(true);
}

void TrackBar::setValueByUser(int value) {
    setValue(value);  // QSlider clamps to the range
    emit valueEdited();
}

void TrackBar::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            setValueByUser(value() - singleStep());
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            setValueByUser(value() + singleStep());
            break;
        case Qt::Key_PageUp:
            setValueByUser(value() - pageStep());
            break;
        case Qt::Key_PageDown:
            setValueByUser(value() + pageStep());
            break;
        case Qt::Key_Home:
            setValueByUser(minimum());
            break;
        case Qt::Key_End:
            setValueByUser(maximum());
            break;
        default:
            // Past QAbstractSlider on purpose: its keys move the value without valueEdited, and
            // those it knows are all handled above.
            // NOLINTNEXTLINE(bugprone-parent-virtual-call)
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

int TrackBar::valueAt(int x) const {
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    return QStyle::sliderValueFromPosition(
        minimum(), maximum(), x - groove.x() - handle.width() / 2, span > 0 ? span : 1);
}

void TrackBar::mousePressEvent(QMouseEvent* event) {
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    const int x = int(event->position().x());
    if (mousePressHandler_) mousePressHandler_(event->button(), x, int(event->position().y()));
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;  // the report follows on release, as the Windows bar ends its tracking
    } else {
        // Other buttons start no tracking on Windows, so no report would come: report at once so
        // the position the handler set is snapped straight away.
        emit valueEdited();
    }
    event->accept();
}

void TrackBar::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    setValueByUser(valueAt(int(event->position().x())));
    event->accept();
}

void TrackBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) endTracking();
    event->accept();
}

void TrackBar::endTracking() {
    if (!dragging_) return;
    dragging_ = false;
    emit valueEdited();
}

// A press whose release this bar never sees (focus taken away, the bar hidden) still ends with a
// report, so the position it left is not kept between levels.
void TrackBar::focusOutEvent(QFocusEvent* event) {
    endTracking();
    QSlider::focusOutEvent(event);
}

void TrackBar::hideEvent(QHideEvent* event) {
    endTracking();
    QSlider::hideEvent(event);
}

void TrackBar::wheelEvent(QWheelEvent* event) {
    // One line step per notch, reported like an arrow key. QSlider's own wheel handling moves by
    // up to the page size without a report, which left the bar between levels. Smooth wheels send
    // fractions of a notch; they add up until a whole notch is reached.
    const QPoint angle = event->angleDelta();
    int delta = angle.y() != 0 ? angle.y() : angle.x();
    if (event->inverted()) delta = -delta;
    wheelRest_ += delta;
    const int notches = wheelRest_ / QWheelEvent::DefaultDeltasPerStep;
    wheelRest_ -= notches * QWheelEvent::DefaultDeltasPerStep;
    for (int i = 0; i < notches; ++i) setValueByUser(value() - singleStep());  // forward = Up key
    for (int i = 0; i > notches; --i)
        setValueByUser(value() + singleStep());  // backward = Down key
    event->accept();
}

}  // namespace widgets
