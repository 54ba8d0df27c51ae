#pragma once
// A horizontal track bar that behaves like the Windows one: Left/Up step down, Right/Down step up,
// Page Up steps down by the page size and Page Down up, Home/End go to the ends, and the change
// report comes only from the user (keys, dragging, the end of a mouse press), never from a
// position the program sets.
#include <QSlider>
#include <functional>

namespace widgets {

class TTrackBar : public QSlider {
    Q_OBJECT
public:
    explicit TTrackBar(QWidget* parent = nullptr);

    int Position() const { return value(); }
    // Clamped to the range; raises no change report.
    void SetPosition(int position);

    // OnMouseDown: every mouse press, any button, before the bar reacts to it.
    using MouseDownHandler = std::function<void(Qt::MouseButton button, int x, int y)>;
    void SetOnMouseDown(MouseDownHandler handler) { onMouseDown_ = std::move(handler); }

signals:
    // OnChange: the user changed, or finished changing, the position.
    void Changed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void UserMove(int position);
    int PositionAt(int x) const;

    MouseDownHandler onMouseDown_;
    bool dragging_ = false;
};

}  // namespace widgets
