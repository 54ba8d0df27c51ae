#include "gui/widgets/click_through.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace widgets {

namespace {

class ClickThroughFilter : public QObject {
  public:
    ClickThroughFilter(QWidget& page, std::vector<QAbstractButton*> buttons)
        : QObject(&page), page_(page), buttons_(std::move(buttons)) {
        page.installEventFilter(this);
        for (QAbstractButton* button : buttons_) button->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (watched == &page_) {
            // Only a switch the user sees: Qt also reports a page shown along with its window.
            if ((type == QEvent::ShowToParent || type == QEvent::HideToParent) &&
                page_.isHidden() != pageHidden_) {
                pageHidden_ = page_.isHidden();
                if (page_.window()->isVisible()) switched_.start();
            }
            return false;
        }
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick) return false;
        if (std::find(buttons_.begin(), buttons_.end(), watched) == buttons_.end()) return false;
        return switched_.isValid() &&
               switched_.elapsed() < QGuiApplication::styleHints()->mouseDoubleClickInterval();
    }

  private:
    QWidget& page_;
    std::vector<QAbstractButton*> buttons_;
    bool pageHidden_ = page_.isHidden();
    QElapsedTimer switched_;
};

}  // namespace

void IgnoreClickThrough(QWidget& page, std::initializer_list<QAbstractButton*> buttons) {
    new ClickThroughFilter(page, buttons);
}

}  // namespace widgets
