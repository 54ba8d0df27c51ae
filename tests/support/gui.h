#pragma once
// Helpers for driving real windows under the offscreen platform.
#include <QString>
#include <QWidget>
#include <functional>

namespace testsupport {

// Calls `answer` with the next modal window that opens (a QDialog, QMessageBox, ...) once it is
// shown, from the event loop the modal window runs. `answer` must close it. Answers queue up in
// the order they were given; each waits up to `timeoutMs` for its window.
void AnswerNextModal(std::function<void(QWidget* modal)> answer, int timeoutMs = 5000);
// Answers still waiting (a test can assert that every expected window came).
int PendingModalAnswers();
// Answers whose window never came since the last call.
int MissedModalAnswers();
void ClearModalAnswers();

// Lets queued events run (activation, paints) for about `ms` milliseconds.
void ProcessEvents(int ms = 20);

// Grabs a widget to a PNG file; returns success.
bool GrabToPng(QWidget* widget, const QString& file);

}  // namespace testsupport
