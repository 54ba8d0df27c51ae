#include "gui/widgets/link_label.h"

#include <QEnterEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPixmap>
#include <QShortcut>
#include <QStringList>

#include "gui/platform/shell.h"

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
