#include "gui/widgets/link_label.h"

#include <QEnterEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QShortcut>
#include <QStringList>

#include "core/colour/color_conv.h"
#include "gui/platform/shell.h"
#include "gui/widgets/qt_color.h"

// The cursor resource lives in this static library; referencing its initialiser keeps the linker
// from dropping it. Q_INIT_RESOURCE must be used outside any namespace.
static void InitLinkLabelResources() {
    Q_INIT_RESOURCE(link_label);
}

namespace widgets {
namespace {

constexpr const char* kDefaultAddress = "https://www.example.com/";

// Turned text needs an outline font that scales to any size; bitmap faces cannot be turned.
// Only the face matters: a 10-pixel, normal-weight probe of the family that the font database
// actually resolves the name to.
bool IsOutlineFace(const QString& family) {
    QFont probe(family);
    probe.setPixelSize(10);
    probe.setWeight(QFont::Normal);
    probe.setItalic(false);
    probe.setUnderline(false);
    probe.setStrikeOut(false);
    const QFontInfo info(probe);
    return QFontDatabase::isSmoothlyScalable(info.family(), info.styleName());
}

bool IsSeparator(QChar c) {
    return c == u'\\' || c == u'/';
}

}  // namespace

// Loaded when a link is first hovered, not when a label is made: most never are.
QCursor LinkCursor() {
    static const QCursor cursor = [] {
        InitLinkLabelResources();
        return QCursor(QPixmap(QStringLiteral(":/cursors/CRSRLINKPOINT")), 7, 1);
    }();
    return cursor;
}

QString ShortenPath(const QString& fileName, const QFontMetrics& metrics, int maxWidth) {
    const auto fits = [&](const QString& s) { return metrics.horizontalAdvance(s) <= maxWidth; };
    if (fits(fileName)) return fileName;

    QString drive;
    if (fileName.size() >= 2 && fileName[1] == u':' && fileName[0].isLetter())
        drive = fileName.left(2);
    qsizetype lastSep = fileName.size() - 1;
    while (lastSep >= drive.size() && !IsSeparator(fileName[lastSep])) --lastSep;
    const QString name = fileName.mid(lastSep + 1);
    const QString dir = lastSep >= drive.size()
                            ? fileName.mid(drive.size(), lastSep + 1 - drive.size())
                            : QString();
    const QChar sep = lastSep >= drive.size() ? fileName[lastSep] : QChar(u'\\');

    QStringList folders;
    QString part;
    for (QChar c : dir) {
        if (!IsSeparator(c)) {
            part += c;
        } else if (!part.isEmpty()) {
            folders << part;
            part.clear();
        }
    }
    const QString root = !dir.isEmpty() && IsSeparator(dir[0]) ? QString(dir[0]) : QString();
    const QString dots = QStringLiteral("...") + sep;

    QStringList candidates;
    for (qsizetype dropped = 1; dropped <= folders.size(); ++dropped) {
        QString rest;
        for (qsizetype k = dropped; k < folders.size(); ++k) rest += folders[k] + sep;
        candidates << drive + root + dots + rest + name;
    }
    if (!folders.isEmpty()) candidates << dots + name;
    candidates << name;
    for (const QString& c : candidates)
        if (fits(c)) return c;
    return candidates.back();
}

bool MatchesMnemonic(QChar ch, const QString& caption) {
    const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
    if (mnemonic.isEmpty()) return false;
    return mnemonic[0].key() == Qt::Key(ch.toUpper().unicode());
}

LinkLabel::LinkLabel(QWidget* parent)
    : QWidget(parent),
      textColor_(colors::windowText),
      linkAddress_(QString::fromLatin1(kDefaultAddress)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(65, 17);
    hoverColor_ = backgroundColor_;
    hoverTextColor_ = textColor_;

    mnemonicShortcut_ = new QShortcut(this);
    mnemonicShortcut_->setContext(Qt::WindowShortcut);
    mnemonicShortcut_->setEnabled(false);
    connect(mnemonicShortcut_, &QShortcut::activated, this, [this] {
        const QKeySequence key = mnemonicShortcut_->key();
        if (!key.isEmpty()) handleMnemonic(QChar(char16_t(key[0].key())));
    });

    // A label placed on a parent takes the parent's font at once, as a font change.
    if (parent) updateFromFont();
}

LinkLabel::~LinkLabel() = default;

void LinkLabel::beginLoading() {
    loading_ = true;
}

void LinkLabel::endLoading() {
    loading_ = false;
    adjustBounds();
}

void LinkLabel::invalidate() {
    update();
}

void LinkLabel::makeCustom() {
    labelStyle_ = LabelStyle::Custom;
}

void LinkLabel::setText(const QString& caption) {
    if (caption == text_) return;
    text_ = caption;
    updateMnemonicShortcut();
    adjustBounds();
    invalidate();
}

void LinkLabel::setTextColor(ColorCode color) {
    if (color == textColor_) return;
    textColor_ = color;
    updateFromFont();
}

void LinkLabel::setAlignment(HorizontalAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    invalidate();
}

void LinkLabel::setAutoSize(bool value) {
    if (value == autoSize_) return;
    autoSize_ = value;
    adjustBounds();
}

void LinkLabel::setBevelStyle(BevelStyle value) {
    if (value == bevelStyle_) return;
    bevelStyle_ = value;
    makeCustom();
    invalidate();
}

void LinkLabel::setBevelWidth(std::uint16_t value) {
    if (value == bevelWidth_) return;
    bevelWidth_ = value;
    adjustBounds();
    makeCustom();
    invalidate();
}

void LinkLabel::setBorderWidth(std::uint16_t value) {
    if (value == borderWidth_) return;
    borderWidth_ = value;
    adjustBounds();
    invalidate();
}

void LinkLabel::setBackgroundColor(ColorCode value) {
    if (value == backgroundColor_) return;
    backgroundColor_ = value;
    makeCustom();
    invalidate();
}

void LinkLabel::setTextDirection(TextDirection value) {
    if (value == textDirection_) return;
    if (value != TextDirection::Right && !outlineFont_ && !loading_) return;
    textDirection_ = value;
    adjustBounds();
    invalidate();
}

void LinkLabel::setBuddy(QWidget* control) {
    QObject::disconnect(buddyWatch_);
    buddy_ = control;
    if (control) {
        buddyWatch_ = connect(control, &QObject::destroyed, this, [this](QObject* gone) {
            if (buddy_.data() == gone) setBuddy(nullptr);
        });
    }
    updateMnemonicShortcut();
}

void LinkLabel::setHighlightColor(ColorCode value) {
    if (value == highlightColor_) return;
    highlightColor_ = value;
    if (labelStyle_ == LabelStyle::Custom)
        invalidate();
    else
        labelStyle_ = LabelStyle::Custom;
}

void LinkLabel::setHighlightOffset(std::uint16_t value) {
    if (value == highlightOffset_) return;
    highlightOffset_ = value;
    if (showHighlight_) {
        adjustBounds();
        invalidate();
    }
    makeCustom();
}

void LinkLabel::setHighlightPosition(HighlightPosition value) {
    if (value == highlightPosition_) return;
    highlightPosition_ = value;
    makeCustom();
    invalidate();
}

void LinkLabel::setHoverColor(ColorCode value) {
    if (value == hoverColor_) return;
    hoverColor_ = value;
    if (hovered_) invalidate();
    makeCustom();
}

void LinkLabel::setHoverTextColor(ColorCode value) {
    if (value == hoverTextColor_) return;
    hoverTextColor_ = value;
    if (hovered_) invalidate();
    makeCustom();
}

void LinkLabel::setVerticalAlignment(VerticalAlignment value) {
    if (value == verticalAlignment_) return;
    verticalAlignment_ = value;
    makeCustom();
    invalidate();
}

void LinkLabel::setLinkActive(bool value) {
    linkActive_ = value;
}

void LinkLabel::setLinkAddress(const QString& value) {
    linkAddress_ = value;
}

void LinkLabel::setLinkType(LinkType value) {
    linkType_ = value;
}

void LinkLabel::setShadowColor(ColorCode value) {
    if (value == shadowColor_) return;
    shadowColor_ = value;
    makeCustom();
    invalidate();
}

void LinkLabel::setShadowOffset(std::uint16_t value) {
    if (value == shadowOffset_) return;
    shadowOffset_ = value;
    if (showShadow_) {
        adjustBounds();
        invalidate();
    }
    makeCustom();
}

void LinkLabel::setShortenFilenames(bool value) {
    if (value == shortenFilenames_) return;
    shortenFilenames_ = value;
    makeCustom();
    invalidate();
}

void LinkLabel::setShowMnemonic(bool value) {
    if (value == showMnemonic_) return;
    showMnemonic_ = value;
    updateMnemonicShortcut();
    adjustBounds();  // the '&' is measured as it is drawn
    makeCustom();
    invalidate();
}

void LinkLabel::setShowHighlight(bool value) {
    if (value == showHighlight_) return;
    showHighlight_ = value;
    adjustBounds();
    makeCustom();
    invalidate();
}

void LinkLabel::setShowShadow(bool value) {
    if (value == showShadow_) return;
    showShadow_ = value;
    adjustBounds();
    makeCustom();
    invalidate();
}

void LinkLabel::setLabelStyle(LabelStyle value) {
    if (value == labelStyle_) return;
    labelStyle_ = value;
    switch (value) {
        case LabelStyle::Text3D:
            bevelStyle_ = BevelStyle::None;
            bevelWidth_ = 1;
            backgroundColor_ = colors::buttonFace;
            highlightColor_ = colors::buttonHighlight;
            highlightOffset_ = 1;
            highlightPosition_ = HighlightPosition::TopLeft;
            linkActive_ = false;
            shadowColor_ = colors::buttonShadow;
            shadowOffset_ = 1;
            showHighlight_ = true;
            showShadow_ = true;
            break;
        case LabelStyle::Custom:
            break;
        case LabelStyle::Link:
            bevelStyle_ = BevelStyle::None;
            bevelWidth_ = 1;
            hoverColor_ = backgroundColor_;
            hoverTextColor_ = colors::blue;
            linkActive_ = true;
            linkType_ = LinkType::Web;
            showMnemonic_ = false;
            showHighlight_ = false;
            showShadow_ = false;
            underlineOnHover_ = true;
            setTextColor(colors::navy);
            break;
        case LabelStyle::Path:
            linkActive_ = false;
            shortenFilenames_ = true;
            showMnemonic_ = false;
            showHighlight_ = false;
            showShadow_ = false;
            break;
        case LabelStyle::Window:
            bevelStyle_ = BevelStyle::Single;
            bevelWidth_ = 1;
            borderWidth_ = 2;
            backgroundColor_ = colors::window;
            verticalAlignment_ = VerticalAlignment::Center;
            linkActive_ = false;
            showHighlight_ = false;
            showShadow_ = false;
            setTextColor(colors::windowText);
            break;
    }
    updateMnemonicShortcut();
    adjustBounds();
    invalidate();
}

bool LinkLabel::isTransparent() const {
    return !testAttribute(Qt::WA_OpaquePaintEvent);
}

void LinkLabel::setTransparent(bool value) {
    if (value == isTransparent()) return;
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    makeCustom();
    invalidate();
}

void LinkLabel::setUnderlineOnHover(bool value) {
    if (value == underlineOnHover_) return;
    underlineOnHover_ = value;
    if (hovered_) invalidate();
    makeCustom();
}

void LinkLabel::setWordWrap(bool value) {
    if (value == wordWrap_ || textDirection_ != TextDirection::Right) return;
    wordWrap_ = value;
    adjustBounds();
    invalidate();
}

QString LinkLabel::displayText() const {
    if (!shortenFilenames_) return text_;
    return ShortenPath(text_, fontMetrics(), width() - 10);
}

QString LinkLabel::linkTarget() const {
    if (linkType_ == LinkType::None || linkAddress_.isEmpty()) return {};
    if (linkType_ == LinkType::Email) return QStringLiteral("mailto:") + linkAddress_;
    if (linkType_ == LinkType::News) return QStringLiteral("news:") + linkAddress_;
    return linkAddress_;
}

void LinkLabel::click() {
    emit clicked();
    const QString target = linkTarget();
    if (!isEnabled() || !linkActive_ || target.isEmpty()) return;
    executeLink();
    platform::ShellOpen(target.toStdString());
}

void LinkLabel::executeLink() {
    emit linkAboutToOpen();
}

bool LinkLabel::handleMnemonic(QChar ch) {
    if (!buddy_ || !isEnabled() || !showMnemonic_ || !MatchesMnemonic(ch, text_)) return false;
    QWidget* target = buddy_;
    const bool canFocus = target->isEnabled() && target->isVisibleTo(target->window()) &&
                          target->focusPolicy() != Qt::NoFocus;
    if (!canFocus) return false;
    target->setFocus(Qt::ShortcutFocusReason);
    return true;
}

void LinkLabel::updateMnemonicShortcut() {
    const QKeySequence key =
        buddy_ && showMnemonic_ ? QKeySequence::mnemonic(text_) : QKeySequence();
    mnemonicShortcut_->setKey(key);
    mnemonicShortcut_->setEnabled(!key.isEmpty());
}

void LinkLabel::updateOutlineFont() {
    outlineFont_ = IsOutlineFace(font().family());
}

void LinkLabel::updateFromFont() {
    update();
    updateOutlineFont();
    adjustBounds();
}

void LinkLabel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::ParentChange)
        updateFromFont();
}

void LinkLabel::enterHover() {
    if (!hovered_ && linkActive_ && isEnabled()) {
        hovered_ = true;
        savedCursor_.reset();
        if (testAttribute(Qt::WA_SetCursor)) savedCursor_ = cursor();
        setCursor(LinkCursor());
        invalidate();
    }
    emit mouseEntered();
}

void LinkLabel::leaveHover() {
    if (hovered_ && linkActive_ && isEnabled()) {
        hovered_ = false;
        if (savedCursor_)
            setCursor(*savedCursor_);
        else
            unsetCursor();
        invalidate();
    }
    emit mouseLeft();
}

void LinkLabel::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    enterHover();
}

void LinkLabel::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    leaveHover();
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    // Accepting the press is what brings the release here, where the click is decided.
    if (event->button() == Qt::LeftButton) pressed_ = true;
    event->accept();
}

void LinkLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double-click is no new click: the first one already opened the link.
    // Qt delivers it as a press followed by this event (or as this event alone), so drop the press.
    pressed_ = false;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    if (rect().contains(event->position().toPoint())) click();
}

}  // namespace widgets

// How a link label paints itself and sizes itself to its text.
//
// Text flags are Qt's: the left/centre/right alignment, Qt::TextWordWrap for wordWrap(),
// Qt::TextExpandTabs always, and Qt::TextShowMnemonic while showMnemonic() is on (without it an
// '&' is drawn as it is). Trailing spaces count, as they do when Windows measures a line, so a
// lone space keeps its width. Measuring uses the same mnemonic rule as drawing, so a label that
// shows its '&' is also measured with it and never cuts off its last character.
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
    QString text = displayText();
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
