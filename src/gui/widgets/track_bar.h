#pragma once
// A horizontal track bar that behaves like the Windows one: Left/Up step down, Right/Down step up,
// Page Up steps down by the page size and Page Down up, Home/End go to the ends, a wheel notch
// forward steps down and backward up (as Up and Down do), and the change report comes only from
// the user (keys, the wheel, dragging, the end of a mouse press), never from a position the
// program sets. Every user input ends with a report, so a listener that snaps the position always
// gets the last word.
#include <QSlider>
#include <functional>

namespace widgets {

class TrackBar : public QSlider {
    Q_OBJECT
    Q_PROPERTY(QString valueSuffix READ valueSuffix WRITE setValueSuffix)
  public:
    explicit TrackBar(QWidget* parent = nullptr);

    // Called on every mouse press, any button, before the bar reacts to it.
    using MousePressHandler = std::function<void(Qt::MouseButton button, int x, int y)>;
    void setMousePressHandler(MousePressHandler handler) {
        mousePressHandler_ = std::move(handler);
    }

    // A position set on the user's behalf (by assistive technology): reported like a key press.
    void setValueByUser(int value);
    // The unit a screen reader says after the value, e.g. " m".
    QString valueSuffix() const { return valueSuffix_; }
    void setValueSuffix(const QString& suffix) { valueSuffix_ = suffix; }

  signals:
    // The user changed, or finished changing, the value. setValue() never raises it.
    void valueEdited();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    int valueAt(int x) const;
    // Ends a mouse press with its report, also when the release never comes.
    void endTracking();

    MousePressHandler mousePressHandler_;
    QString valueSuffix_;
    bool dragging_ = false;
    int wheelRest_ = 0;  // wheel movement short of a whole notch, in eighths of a degree
};

}  // namespace widgets
