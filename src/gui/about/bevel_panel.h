#pragma once
// The About window's panel: a lowered outer and a raised inner bevel, one pixel each, around
// whatever its palette fills it with.
#include <QWidget>

namespace about {

class BevelPanel : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace about
