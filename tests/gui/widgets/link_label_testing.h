#pragma once
// Helpers shared by the link label tests: a fixed test font, a label that counts repaint requests,
// offscreen rendering and pixel sets.
#include <QApplication>
#include <QEnterEvent>
#include <QFont>
#include <QImage>
#include <QWidget>
#include <set>
#include <utility>

#include "gui/widgets/link_label.h"

namespace widgets::testing {

// A scalable face without antialiasing, so that text pixels have exactly the pen colour.
inline QFont TestFont(int pixelSize = 13) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

class ProbeLabel : public LinkLabel {
  public:
    explicit ProbeLabel(QWidget* parent = nullptr) : LinkLabel(parent) { setFont(TestFont()); }
    int invalidations = 0;

  protected:
    void invalidate() override {
        ++invalidations;
        LinkLabel::invalidate();
    }
};

inline void Hover(QWidget& w) {
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&w, &enter);
}

inline void Leave(QWidget& w) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&w, &leave);
}

inline QImage Render(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

using PixelSet = std::set<std::pair<int, int>>;

inline PixelSet PixelsOf(const QImage& image, QColor color) {
    PixelSet s;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == color) s.insert({x, y});
    return s;
}

inline PixelSet Shifted(const PixelSet& s, int dx, int dy) {
    PixelSet out;
    for (auto [x, y] : s) out.insert({x + dx, y + dy});
    return out;
}

inline PixelSet Minus(const PixelSet& a, const PixelSet& b) {
    PixelSet out;
    for (const auto& p : a)
        if (!b.count(p)) out.insert(p);
    return out;
}

// Pixels that differ from `background`, as a bounding rectangle.
inline QRect InkBox(const QImage& image, QColor background) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != background) box |= QRect(x, y, 1, 1);
    return box;
}

}  // namespace widgets::testing
