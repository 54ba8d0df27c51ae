#include "support/gui.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <utility>

namespace testsupport {
namespace {

struct PendingAnswer {
    std::function<void(QWidget*)> answer;
    int timeoutMs;
    QElapsedTimer waited;
};

int missed = 0;

std::deque<PendingAnswer>& Queue() {
    static std::deque<PendingAnswer> queue;
    return queue;
}

QTimer* Poller() {
    static QPointer<QTimer> timer;
    if (!timer) {
        timer = new QTimer(qApp);
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, [] {
            auto& queue = Queue();
            if (queue.empty()) {
                timer->stop();
                return;
            }
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal->isVisible()) {
                auto answer = std::move(queue.front().answer);
                queue.pop_front();
                if (!queue.empty()) queue.front().waited.restart();
                answer(modal);
                return;
            }
            if (queue.front().waited.elapsed() > queue.front().timeoutMs) {
                queue.pop_front();  // the window never came
                ++missed;
                if (!queue.empty()) queue.front().waited.restart();
            }
        });
    }
    return timer;
}

}  // namespace

void AnswerNextModal(std::function<void(QWidget*)> answer, int timeoutMs) {
    PendingAnswer pending{std::move(answer), timeoutMs, {}};
    pending.waited.start();
    Queue().push_back(std::move(pending));
    Poller()->start();
}

int MissedModalAnswers() {
    return std::exchange(missed, 0);
}

void ClearModalAnswers() {
    Queue().clear();
}

void ProcessEvents(int ms) {
    QDeadlineTimer deadline(ms);
    do {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    } while (!deadline.hasExpired());
}

bool GrabToPng(QWidget* widget, const QString& file) {
    return widget->grab().save(file, "PNG");
}

}  // namespace testsupport
