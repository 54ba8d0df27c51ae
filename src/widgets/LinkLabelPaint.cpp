// How a link label paints itself and sizes itself to its text.
//
// Text flags are Qt's: the left/centre/right alignment, Qt::TextWordWrap for WordWrap,
// Qt::TextExpandTabs always, and Qt::TextShowMnemonic while ShowAccelChar is on (without it an
// '&' is drawn as it is). Trailing spaces count, as they do when Windows measures a line, so a
// lone space keeps its width. Measuring uses the same mnemonic rule as drawing, so a label that
// shows its '&' is also measured with it and never cuts off its last character.
#include <QFontMetrics>
#include <QPainter>

#include "widgets/LinkLabel.h"
#include "widgets/colorconv.h"
#include "widgets/qcolor.h"

namespace widgets {
namespace {

constexpr int kUnbounded = 1 << 20;  // "as wide/high as the text wants" for measuring

int AlignmentFlag(TAlignment a) {
    switch (a) {
        case taRightJustify: return Qt::AlignRight;
        case taCenter: return Qt::AlignHCenter;
        default: return Qt::AlignLeft;
    }
}

bool IsVertical(TTextDirection d) { return d == tdDown || d == tdUp; }

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
    Paint(canvas);
}

void LinkLabel::Paint(QPainter& canvas) {
    const bool hoverFill = FMouseInside && hoverColor_ != color_;
    if (!Transparent() || hoverFill) canvas.fillRect(rect(), ToQColor(hoverFill ? hoverColor_ : color_));
    canvas.setBrush(Qt::NoBrush);
    const int flags = (wordWrap_ ? int(Qt::TextWordWrap) : 0) | Qt::TextExpandTabs | AlignmentFlag(alignment_);
    DoDrawText(canvas, rect(), flags);
    if (bevelStyle_ != bvNone) DrawBevel(canvas, rect());
}

QString LinkLabel::MeasuringText(const QString& text) const {
    if (text.isEmpty() || (showAccelChar_ && text == QStringLiteral("&"))) return text + u' ';
    return text;
}

int LinkLabel::MeasureFlags() const {
    return (wordWrap_ ? int(Qt::TextWordWrap) : 0) | Qt::TextExpandTabs | Qt::AlignLeft | Qt::AlignTop |
           Qt::TextIncludeTrailingSpaces | (showAccelChar_ ? int(Qt::TextShowMnemonic) : 0);
}

QSize LinkLabel::TextSize(const QString& text, int width) const {
    const int limit = wordWrap_ ? width : kUnbounded;
    return fontMetrics()
        .boundingRect(QRect(0, 0, limit, kUnbounded), MeasureFlags(), MeasuringText(text))
        .size();
}

QString LinkLabel::CalcDrawRect(QRect& rect) const {
    const QString text = GetLabelText();
    if (!IsVertical(direction_)) rect.setSize(TextSize(text, rect.width()));
    return text;
}

QRect LinkLabel::CalcTextRect(QRect rect) const {
    return QRect(rect.topLeft(), TextSize(GetLabelText(), rect.width()));
}

void LinkLabel::AdjustBounds() {
    if (loading_ || !autoSize_) return;
    const QRect measured = CalcTextRect(rect());
    const int tw = measured.left() + measured.width();
    const int th = measured.top() + measured.height();
    int extra = 2 * borderWidth_;
    if (showHighlight_) extra += highlightOffset_;
    if (showShadow_) extra += shadowOffset_;
    if (bevelStyle_ != bvNone) extra += 2 * bevelWidth_;
    if (bevelStyle_ == bvSingle) extra += 1;
    if (IsVertical(direction_))
        resize(th + extra, tw + extra);
    else
        resize(tw + extra, th + extra);
}

void LinkLabel::DoDrawText(QPainter& canvas, QRect rect, int flags) {
    flags |= Qt::AlignTop | Qt::TextIncludeTrailingSpaces;
    if (showAccelChar_) flags |= Qt::TextShowMnemonic;
    canvas.setFont(font());
    QRect r = rect;
    const QString text = CalcDrawRect(r);

    const bool vertical = IsVertical(direction_);
    int tw = r.width(), th = r.height();
    if (vertical) {
        const QFontMetrics fm = canvas.fontMetrics();
        th = fm.height();
        tw = fm.horizontalAdvance(text);
    }
    const int W = width(), H = height();
    const int BW = bevelWidth_, B = borderWidth_, HO = highlightOffset_, SO = shadowOffset_;
    const bool right = direction_ == tdRight, left = direction_ == tdLeft;
    const bool down = direction_ == tdDown, up = direction_ == tdUp;
    // One offset, given for horizontal text and for turned text.
    const auto offset = [&](QPoint horizontal, QPoint turned) {
        r.translate(vertical ? turned : horizontal);
    };

    if (bevelStyle_ != bvNone)
        offset(layout_ == tlCenter ? QPoint(BW, 0) : QPoint(BW, BW),
               layout_ == tlCenter ? QPoint(0, BW) : QPoint(BW, BW));
    if (bevelStyle_ == bvSingle)
        offset(layout_ == tlCenter ? QPoint(1, 0) : QPoint(1, 1),
               layout_ == tlCenter ? QPoint(0, 1) : QPoint(1, 1));
    if ((alignment_ == taLeftJustify && (right || down)) || (alignment_ == taRightJustify && (left || up)))
        offset({B, 0}, {0, B});
    if ((alignment_ == taLeftJustify && (left || up)) || (alignment_ == taRightJustify && (right || down)))
        offset({W - tw - 2 - B, 0}, {0, H - tw - 2 - B});
    if (alignment_ == taCenter) offset({(W - tw) / 2, 0}, {0, (H - tw) / 2});
    if ((layout_ == tlTop && (right || down)) || (layout_ == tlBottom && (left || up)))
        offset({0, B}, {W - th - 2 - B, 0});
    if ((layout_ == tlTop && (left || up)) || (layout_ == tlBottom && (right || down)))
        offset({0, H - th - B}, {B, 0});
    if (layout_ == tlCenter) offset({0, (H - th) / 2}, {(W - th) / 2, 0});

    if (showHighlight_) {
        if (highlightPos_ == hpTopLeft)
            r.translate(HO, 0);
        else if (alignment_ == taRightJustify)
            r.translate(-HO, 0);
        if (layout_ == tlTop) r.translate(0, HO);
    }
    if (showShadow_) {
        if (highlightPos_ == hpTopRight)
            r.translate(SO, 0);
        else if (alignment_ == taRightJustify)
            r.translate(-SO, 0);
        if (layout_ == tlBottom) r.translate(0, -SO);
    }

    if (!isEnabled()) {
        canvas.setPen(ToQColor(clBtnHighlight));
        DrawTextDir(canvas, text, r.translated(1, 1), direction_, flags);
        canvas.setPen(ToQColor(clBtnShadow));
        DrawTextDir(canvas, text, r, direction_, flags);
        return;
    }
    if (showHighlight_) {
        canvas.setPen(ToQColor(highlightColor_));
        DrawTextDir(canvas, text, r.translated(highlightPos_ == hpTopLeft ? -HO : HO, -HO), direction_,
                    flags);
    }
    if (showShadow_) {
        canvas.setPen(ToQColor(shadowColor_));
        DrawTextDir(canvas, text, r.translated(highlightPos_ == hpTopLeft ? SO : -SO, SO), direction_,
                    flags);
    }
    TColor textColor = fontColor_;
    if (linkActive_ && FMouseInside) {
        textColor = hoverFontColor_;
        if (underlineOnEnter_) {
            QFont underlined = font();
            underlined.setUnderline(true);
            canvas.setFont(underlined);
        }
    }
    canvas.setPen(ToQColor(textColor));
    DrawTextDir(canvas, text, r, direction_, flags);
}

void LinkLabel::DrawTextDir(QPainter& canvas, const QString& text, QRect rect, TTextDirection direction,
                             int flags) {
    const QFontMetrics fm = canvas.fontMetrics();
    switch (direction) {
        case tdRight: canvas.drawText(rect, flags, text); break;
        case tdLeft:
            TextOutRotated(canvas, rect.left() + fm.horizontalAdvance(text), rect.top() + fm.height(), text,
                           180);
            break;
        case tdDown: TextOutRotated(canvas, rect.left() + fm.height(), rect.top(), text, 270); break;
        case tdUp: TextOutRotated(canvas, rect.left(), rect.top() + fm.horizontalAdvance(text), text, 90); break;
    }
}

void LinkLabel::TextOutRotated(QPainter& canvas, int x, int y, const QString& text, int angle) {
    // (x, y) is the top-left corner of the text cell; the angle turns counter-clockwise.
    canvas.save();
    canvas.translate(x, y);
    canvas.rotate(-angle);
    canvas.drawText(QPoint(0, canvas.fontMetrics().ascent()), text);
    canvas.restore();
}

void LinkLabel::DrawBevel(QPainter& canvas, QRect rect) {
    TColor lighter = 0, darker = 0;
    ShadeColorsBySteps(ToPlainRGB(color_), lighter, darker, 5, 4);
    const int X1 = rect.left(), Y1 = rect.top();
    const int X2 = rect.left() + rect.width(), Y2 = rect.top() + rect.height();
    const int BW = bevelWidth_;
    const QColor frame = ToQColor(clWindowFrame);

    QColor pen = bevelStyle_ == bvFrame ? frame : ToQColor(bevelStyle_ == bvRaised ? lighter : darker);
    QPoint pos;
    for (int i = 1; i <= BW; ++i) {
        pos = {X2 - i, Y1 + i - 1};
        LineTo(canvas, pos, {X1 + i - 1, Y1 + i - 1}, pen);
        LineTo(canvas, pos, {X1 + i - 1, Y2 - i}, pen);
    }
    if (bevelStyle_ == bvSingle) {
        pos = {X2 - BW - 1, Y1 + BW};
        LineTo(canvas, pos, {X1 + BW, Y1 + BW}, ToQColor(clBlack));
        LineTo(canvas, pos, {X1 + BW, Y2 - BW - 1}, ToQColor(clBlack));
    }
    pen = bevelStyle_ == bvFrame ? frame : ToQColor(bevelStyle_ == bvRaised ? darker : lighter);
    for (int i = 1; i <= BW; ++i) {
        pos = {X1 + i - 1, Y2 - i};
        LineTo(canvas, pos, {X2 - i, Y2 - i}, pen);
        LineTo(canvas, pos, {X2 - i, Y1 + i - 1}, pen);
    }
    if (bevelStyle_ == bvSingle) {
        pos = {X1 + BW, Y2 - BW - 1};
        LineTo(canvas, pos, {X2 - BW - 1, Y2 - BW - 1}, ToQColor(clSilver));
        LineTo(canvas, pos, {X2 - BW - 1, Y1 + BW}, ToQColor(clSilver));
    }
}

}  // namespace widgets
