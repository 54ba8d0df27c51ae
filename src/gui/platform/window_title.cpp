#include "gui/platform/window_title.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace platform {

namespace {

// Qt writes the filled-in title when the native window is made and at each title change; the
// title is emptied again right after, before the window is first mapped.
class EmptyTitleFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::WindowTitleChange || type == QEvent::Show ||
            type == QEvent::WinIdChange) {
            auto* window = static_cast<QWidget*>(watched);
            if (window->windowTitle().isEmpty() && window->windowHandle() &&
                window->testAttribute(Qt::WA_WState_Created))
                ClearNativeTitle(*window->windowHandle());
        }
        return false;
    }
};

}  // namespace

void KeepEmptyTitleEmpty(QWidget& window) {
    window.installEventFilter(new EmptyTitleFilter(&window));
}

}  // namespace platform
