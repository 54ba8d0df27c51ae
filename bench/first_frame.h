#pragma once
// Quits the application once `window` has painted its first frame.
#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

class QuitAfterFirstFrame : public QObject {
  public:
    explicit QuitAfterFirstFrame(QWidget* window) { window->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            // After this paint has been flushed to the screen.
            QTimer::singleShot(0, qApp, [] { QApplication::quit(); });
        }
        return false;
    }

  private:
    bool done_ = false;
};
