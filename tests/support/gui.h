#pragma once
// Helpers for driving real windows under the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <QWidget>
#include <functional>
#include <stdexcept>
#include <string>

namespace testsupport {

// Calls `answer` with the next modal window that opens (a QDialog, QMessageBox, ...) once it is
// shown, from the event loop the modal window runs. `answer` must close it. Answers queue up in
// the order they were given; each waits up to `timeoutMs` for its window.
void AnswerNextModal(std::function<void(QWidget* modal)> answer, int timeoutMs = 5000);
// AnswerNextModal for a window of class W: `body` drives it and must leave it closed. Another
// window, or one left open, is a test failure and is closed so the test goes on.
template <class W>
void AnswerModal(std::function<void(W*)> body, int timeoutMs = 5000) {
    AnswerNextModal(
        [body = std::move(body)](QWidget* modal) {
            auto* window = qobject_cast<W*>(modal);
            if (window == nullptr) {
                ADD_FAILURE() << "unexpected modal window " << modal->metaObject()->className();
                modal->close();
                return;
            }
            body(window);
            if (window->isVisible()) {
                ADD_FAILURE() << "the modal window was left open";
                window->close();
            }
        },
        timeoutMs);
}

// Answers whose window never came since the last call.
int MissedModalAnswers();
void ClearModalAnswers();

// The child of `parent` with this object name and type. A missing one throws, which fails the
// test instead of crashing the whole test program.
template <class T>
T* Child(const QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) throw std::logic_error(std::string("no control named ") + name);
    return child;
}

// The top-level window of class T with this object name; a missing one throws, as for Child.
template <class T>
T* TopLevel(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<T*>(w);
        if (window != nullptr && window->objectName() == QLatin1String(name)) return window;
    }
    throw std::logic_error(std::string("no window named ") + name);
}

// Lets queued events run (activation, paints) for about `ms` milliseconds.
void ProcessEvents(int ms = 20);

// Grabs a widget to a PNG file; returns success.
bool GrabToPng(QWidget* widget, const QString& file);

}  // namespace testsupport
