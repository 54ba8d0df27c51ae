// How a link label paints itself and sizes itself to its text.
//
// Text flags are Qt's: the left/centre/right alignment, Qt::TextWordWrap for wordWrap(),
// Qt::TextExpandTabs always, and Qt::TextShowMnemonic while showMnemonic() is on (without it an
// '&' is drawn as it is). Trailing spaces count, as they do when Windows measures a line, so a
// lone space keeps its width. Measuring uses the same mnemonic rule as drawing, so a label that
// shows its '&' is also measured with it and never cuts off its last character.
#include <QFontMetrics>
#include <QPainter>

#include "core/colour/color_conv.h"
#include "gui/widgets/link_label.h"
#include "gui/widgets/qt_color.h"

namespace widgets {
namespace {

constexpr int kUnbounded = 1 << 20;  // "as wide/high as the text wants" for measuring

int AlignmentFlag(HorizontalAlignment a) {
    switch (a) {
        case HorizontalAlignment::Right:
            return Qt::AlignRight;
        case HorizontalAlignment::Center:
            return Qt::AlignHCenter;
        default:
            return Qt::AlignLeft;
    }
}

bool IsVertical(TextDirection d) {
    return d == TextDirection::Down || d == TextDirection::Up;
}

// A one-pixel line from `pos` towards `to`, leaving out `to` itself; `pos` moves to `to`.
// Bevel lines are always horizontal or vertical.
void LineTo(QPainter& canvas, QPoint& pos, QPoint to, const QColor& color) {
    if (pos.y() == to.y()) {
        const int x0 = std::min(pos.x(), to.x() + 1), x1 = std::max(pos.x(), to.x() - 1);
        if (to.x() != pos.x()) canvas.fillRect(QRect(x0, pos.y(), x1 - x0 + 1, 1), color);
    } else if (pos.x() == to.x()) {
        const int y0 = std::min(pos.y(), to.y() + 1), y1 = std::max(pos.y(), to.y() - 1);
        canvas.fillRect(QRect(pos.x(), y0, 1, y1 - y0 + 1), color);
    }
    pos = to;
}

}  // namespace

void LinkLabel::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    paint(canvas);
}

void LinkLabel::paint(QPainter& canvas) {
    const bool hoverFill = hovered_ && hoverColor_ != backgroundColor_;
    if (!isTransparent() || hoverFill)
        canvas.fillRect(rect(), ToQColor(hoverFill ? hoverColor_ : backgroundColor_));
    canvas.setBrush(Qt::NoBrush);
    const int flags =
        (wordWrap_ ? int(Qt::TextWordWrap) : 0) | Qt::TextExpandTabs | AlignmentFlag(alignment_);
    drawLabelText(canvas, rect(), flags);
    if (bevelStyle_ != BevelStyle::None) drawBevel(canvas, rect());
}

QString LinkLabel::measuringText(const QString& text) const {
    if (text.isEmpty() || (showMnemonic_ && text == QStringLiteral("&"))) return text + u' ';
    return text;
}

int LinkLabel::measureFlags() const {
    return (wordWrap_ ? int(Qt::TextWordWrap) : 0) | Qt::TextExpandTabs | Qt::AlignLeft |
           Qt::AlignTop | Qt::TextIncludeTrailingSpaces |
           (showMnemonic_ ? int(Qt::TextShowMnemonic) : 0);
}

QSize LinkLabel::textSize(const QString& text, int width) const {
    const int limit = wordWrap_ ? width : kUnbounded;
    return fontMetrics()
        .boundingRect(QRect(0, 0, limit, kUnbounded), measureFlags(), measuringText(text))
        .size();
}

QString LinkLabel::calcDrawRect(QRect& rect) const {
    const QString text = displayText();
    if (!IsVertical(textDirection_)) rect.setSize(textSize(text, rect.width()));
    return text;
}

QRect LinkLabel::calcTextRect(QRect rect) const {
    return QRect(rect.topLeft(), textSize(displayText(), rect.width()));
}

void LinkLabel::adjustBounds() {
    if (loading_ || !autoSize_) return;
    const QRect measured = calcTextRect(rect());
    const int tw = measured.left() + measured.width();
    const int th = measured.top() + measured.height();
    int extra = 2 * borderWidth_;
    if (showHighlight_) extra += highlightOffset_;
    if (showShadow_) extra += shadowOffset_;
    if (bevelStyle_ != BevelStyle::None) extra += 2 * bevelWidth_;
    if (bevelStyle_ == BevelStyle::Single) extra += 1;
    if (IsVertical(textDirection_))
        resize(th + extra, tw + extra);
    else
        resize(tw + extra, th + extra);
}

void LinkLabel::drawLabelText(QPainter& canvas, QRect rect, int flags) {
    flags |= Qt::AlignTop | Qt::TextIncludeTrailingSpaces;
    if (showMnemonic_) flags |= Qt::TextShowMnemonic;
    canvas.setFont(font());
    QRect r = rect;
    const QString text = calcDrawRect(r);
    QSize textSize = r.size();  // along the text, across it
    if (IsVertical(textDirection_)) {
        const QFontMetrics fm = canvas.fontMetrics();
        textSize = {fm.horizontalAdvance(text), fm.height()};
    }
    drawTextLayers(canvas, text, placeText(r, textSize), flags);
}

QRect LinkLabel::placeText(QRect r, QSize textSize) const {
    const bool vertical = IsVertical(textDirection_);
    const int tw = textSize.width(), th = textSize.height();
    const int W = width(), H = height();
    const int BW = bevelWidth_, B = borderWidth_, HO = highlightOffset_, SO = shadowOffset_;
    const bool right = textDirection_ == TextDirection::Right,
               left = textDirection_ == TextDirection::Left;
    const bool down = textDirection_ == TextDirection::Down,
               up = textDirection_ == TextDirection::Up;
    // One offset, given for horizontal text and for turned text.
    const auto offset = [&](QPoint horizontal, QPoint turned) {
        r.translate(vertical ? turned : horizontal);
    };

    if (bevelStyle_ != BevelStyle::None)
        offset(verticalAlignment_ == VerticalAlignment::Center ? QPoint(BW, 0) : QPoint(BW, BW),
               verticalAlignment_ == VerticalAlignment::Center ? QPoint(0, BW) : QPoint(BW, BW));
    if (bevelStyle_ == BevelStyle::Single)
        offset(verticalAlignment_ == VerticalAlignment::Center ? QPoint(1, 0) : QPoint(1, 1),
               verticalAlignment_ == VerticalAlignment::Center ? QPoint(0, 1) : QPoint(1, 1));
    if ((alignment_ == HorizontalAlignment::Left && (right || down)) ||
        (alignment_ == HorizontalAlignment::Right && (left || up)))
        offset({B, 0}, {0, B});
    if ((alignment_ == HorizontalAlignment::Left && (left || up)) ||
        (alignment_ == HorizontalAlignment::Right && (right || down)))
        offset({W - tw - 2 - B, 0}, {0, H - tw - 2 - B});
    if (alignment_ == HorizontalAlignment::Center) offset({(W - tw) / 2, 0}, {0, (H - tw) / 2});
    if ((verticalAlignment_ == VerticalAlignment::Top && (right || down)) ||
        (verticalAlignment_ == VerticalAlignment::Bottom && (left || up)))
        offset({0, B}, {W - th - 2 - B, 0});
    if ((verticalAlignment_ == VerticalAlignment::Top && (left || up)) ||
        (verticalAlignment_ == VerticalAlignment::Bottom && (right || down)))
        offset({0, H - th - B}, {B, 0});
    if (verticalAlignment_ == VerticalAlignment::Center)
        offset({0, (H - th) / 2}, {(W - th) / 2, 0});

    if (showHighlight_) {
        if (highlightPosition_ == HighlightPosition::TopLeft)
            r.translate(HO, 0);
        else if (alignment_ == HorizontalAlignment::Right)
            r.translate(-HO, 0);
        if (verticalAlignment_ == VerticalAlignment::Top) r.translate(0, HO);
    }
    if (showShadow_) {
        if (highlightPosition_ == HighlightPosition::TopRight)
            r.translate(SO, 0);
        else if (alignment_ == HorizontalAlignment::Right)
            r.translate(-SO, 0);
        if (verticalAlignment_ == VerticalAlignment::Bottom) r.translate(0, -SO);
    }
    return r;
}

void LinkLabel::drawTextLayers(QPainter& canvas, const QString& text, QRect r, int flags) {
    const int HO = highlightOffset_, SO = shadowOffset_;
    if (!isEnabled()) {
        canvas.setPen(ToQColor(colors::buttonHighlight));
        drawTextInDirection(canvas, text, r.translated(1, 1), textDirection_, flags);
        canvas.setPen(ToQColor(colors::buttonShadow));
        drawTextInDirection(canvas, text, r, textDirection_, flags);
        return;
    }
    if (showHighlight_) {
        canvas.setPen(ToQColor(highlightColor_));
        drawTextInDirection(
            canvas, text,
            r.translated(highlightPosition_ == HighlightPosition::TopLeft ? -HO : HO, -HO),
            textDirection_, flags);
    }
    if (showShadow_) {
        canvas.setPen(ToQColor(shadowColor_));
        drawTextInDirection(
            canvas, text,
            r.translated(highlightPosition_ == HighlightPosition::TopLeft ? SO : -SO, SO),
            textDirection_, flags);
    }
    ColorCode textColor = textColor_;
    if (linkActive_ && hovered_) {
        textColor = hoverTextColor_;
        if (underlineOnHover_) {
            QFont underlined = font();
            underlined.setUnderline(true);
            canvas.setFont(underlined);
        }
    }
    canvas.setPen(ToQColor(textColor));
    drawTextInDirection(canvas, text, r, textDirection_, flags);
}

void LinkLabel::drawTextInDirection(QPainter& canvas, const QString& text, QRect rect,
                                    TextDirection direction, int flags) {
    const QFontMetrics fm = canvas.fontMetrics();
    switch (direction) {
        case TextDirection::Right:
            canvas.drawText(rect, flags, text);
            break;
        case TextDirection::Left:
            drawRotatedText(canvas, rect.left() + fm.horizontalAdvance(text),
                            rect.top() + fm.height(), text, 180);
            break;
        case TextDirection::Down:
            drawRotatedText(canvas, rect.left() + fm.height(), rect.top(), text, 270);
            break;
        case TextDirection::Up:
            drawRotatedText(canvas, rect.left(), rect.top() + fm.horizontalAdvance(text), text, 90);
            break;
    }
}

void LinkLabel::drawRotatedText(QPainter& canvas, int x, int y, const QString& text, int angle) {
    // (x, y) is the top-left corner of the text cell; the angle turns counter-clockwise.
    canvas.save();
    canvas.translate(x, y);
    canvas.rotate(-angle);
    canvas.drawText(QPoint(0, canvas.fontMetrics().ascent()), text);
    canvas.restore();
}

void LinkLabel::drawBevel(QPainter& canvas, QRect rect) {
    ColorCode lighter = 0, darker = 0;
    ShadeColorsBySteps(ToPlainRGB(backgroundColor_), lighter, darker, 5, 4);
    const int X1 = rect.left(), Y1 = rect.top();
    const int X2 = rect.left() + rect.width(), Y2 = rect.top() + rect.height();
    const int BW = bevelWidth_;
    const QColor frame = ToQColor(colors::windowFrame);

    QColor pen = bevelStyle_ == BevelStyle::Frame
                     ? frame
                     : ToQColor(bevelStyle_ == BevelStyle::Raised ? lighter : darker);
    QPoint pos;
    for (int i = 1; i <= BW; ++i) {
        pos = {X2 - i, Y1 + i - 1};
        LineTo(canvas, pos, {X1 + i - 1, Y1 + i - 1}, pen);
        LineTo(canvas, pos, {X1 + i - 1, Y2 - i}, pen);
    }
    if (bevelStyle_ == BevelStyle::Single) {
        pos = {X2 - BW - 1, Y1 + BW};
        LineTo(canvas, pos, {X1 + BW, Y1 + BW}, ToQColor(colors::black));
        LineTo(canvas, pos, {X1 + BW, Y2 - BW - 1}, ToQColor(colors::black));
    }
    pen = bevelStyle_ == BevelStyle::Frame
              ? frame
              : ToQColor(bevelStyle_ == BevelStyle::Raised ? darker : lighter);
    for (int i = 1; i <= BW; ++i) {
        pos = {X1 + i - 1, Y2 - i};
        LineTo(canvas, pos, {X2 - i, Y2 - i}, pen);
        LineTo(canvas, pos, {X2 - i, Y1 + i - 1}, pen);
    }
    if (bevelStyle_ == BevelStyle::Single) {
        pos = {X1 + BW, Y2 - BW - 1};
        LineTo(canvas, pos, {X2 - BW - 1, Y2 - BW - 1}, ToQColor(colors::silver));
        LineTo(canvas, pos, {X2 - BW - 1, Y1 + BW}, ToQColor(colors::silver));
    }
}

}  // namespace widgets
