#include "widgets/LinkLabel.h"

#include <QEnterEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPixmap>
#include <QShortcut>
#include <QStringList>

#include "platform/shell.h"

// The cursor resource lives in this static library; referencing its initialiser keeps the linker
// from dropping it. Q_INIT_RESOURCE must be used outside any namespace.
static void InitLinkLabelResources() { Q_INIT_RESOURCE(linklabel); }

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

bool IsSeparator(QChar c) { return c == u'\\' || c == u'/'; }

}  // namespace

// Loaded when a link is first hovered, not when a label is made: most never are.
QCursor LinkPointCursor() {
    static const QCursor cursor = [] {
        InitLinkLabelResources();
        return QCursor(QPixmap(QStringLiteral(":/cursors/CRSRLINKPOINT")), 7, 1);
    }();
    return cursor;
}

QString MinimizeName(const QString& fileName, const QFontMetrics& metrics, int maxWidth) {
    const auto fits = [&](const QString& s) { return metrics.horizontalAdvance(s) <= maxWidth; };
    if (fits(fileName)) return fileName;

    QString drive;
    if (fileName.size() >= 2 && fileName[1] == u':' && fileName[0].isLetter())
        drive = fileName.left(2);
    qsizetype lastSep = fileName.size() - 1;
    while (lastSep >= drive.size() && !IsSeparator(fileName[lastSep])) --lastSep;
    const QString name = fileName.mid(lastSep + 1);
    const QString dir = lastSep >= drive.size() ? fileName.mid(drive.size(), lastSep + 1 - drive.size())
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

bool IsAccel(QChar ch, const QString& caption) {
    const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
    if (mnemonic.isEmpty()) return false;
    return mnemonic[0].key() == Qt::Key(ch.toUpper().unicode());
}

LinkLabel::LinkLabel(QWidget* parent)
    : QWidget(parent), fontColor_(clWindowText), linkedAdress_(QString::fromLatin1(kDefaultAddress)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(65, 17);
    hoverColor_ = color_;
    hoverFontColor_ = fontColor_;

    accelShortcut_ = new QShortcut(this);
    accelShortcut_->setContext(Qt::WindowShortcut);
    accelShortcut_->setEnabled(false);
    connect(accelShortcut_, &QShortcut::activated, this, [this] {
        const QKeySequence key = accelShortcut_->key();
        if (!key.isEmpty()) DialogChar(QChar(char16_t(key[0].key())));
    });

    // A label placed on a parent takes the parent's font at once, as a font change.
    if (parent) FontChanged();
}

LinkLabel::~LinkLabel() = default;

void LinkLabel::BeginLoading() { loading_ = true; }

void LinkLabel::Loaded() {
    loading_ = false;
    AdjustBounds();
}

void LinkLabel::Invalidate() { update(); }

void LinkLabel::MakeCustom() { style_ = lsCustom; }

void LinkLabel::SetCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    UpdateAccelShortcut();
    AdjustBounds();
    Invalidate();
}

void LinkLabel::SetFontColor(TColor color) {
    if (color == fontColor_) return;
    fontColor_ = color;
    FontChanged();
}

void LinkLabel::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    Invalidate();
}

void LinkLabel::SetAutoSize(bool value) {
    if (value == autoSize_) return;
    autoSize_ = value;
    AdjustBounds();
}

void LinkLabel::SetBevelStyle(TLabelBevel value) {
    if (value == bevelStyle_) return;
    bevelStyle_ = value;
    MakeCustom();
    Invalidate();
}

void LinkLabel::SetBevelWidth(std::uint16_t value) {
    if (value == bevelWidth_) return;
    bevelWidth_ = value;
    AdjustBounds();
    MakeCustom();
    Invalidate();
}

void LinkLabel::SetBorderWidth(std::uint16_t value) {
    if (value == borderWidth_) return;
    borderWidth_ = value;
    AdjustBounds();
    Invalidate();
}

void LinkLabel::SetColor(TColor value) {
    if (value == color_) return;
    color_ = value;
    MakeCustom();
    Invalidate();
}

void LinkLabel::SetDirection(TTextDirection value) {
    if (value == direction_) return;
    if (value != tdRight && !FTrueTypeFont && !loading_) return;
    direction_ = value;
    AdjustBounds();
    Invalidate();
}

void LinkLabel::SetFocusControl(QWidget* control) {
    QObject::disconnect(focusWatch_);
    focusControl_ = control;
    if (control) {
        focusWatch_ = connect(control, &QObject::destroyed, this, [this](QObject* gone) {
            if (focusControl_.data() == gone) SetFocusControl(nullptr);
        });
    }
    UpdateAccelShortcut();
}

void LinkLabel::SetHighlightColor(TColor value) {
    if (value == highlightColor_) return;
    highlightColor_ = value;
    if (style_ == lsCustom)
        Invalidate();
    else
        style_ = lsCustom;
}

void LinkLabel::SetHighlightOffset(std::uint16_t value) {
    if (value == highlightOffset_) return;
    highlightOffset_ = value;
    if (showHighlight_) {
        AdjustBounds();
        Invalidate();
    }
    MakeCustom();
}

void LinkLabel::SetHighlightPos(THighLightPos value) {
    if (value == highlightPos_) return;
    highlightPos_ = value;
    MakeCustom();
    Invalidate();
}

void LinkLabel::SetHoverColor(TColor value) {
    if (value == hoverColor_) return;
    hoverColor_ = value;
    if (FMouseInside) Invalidate();
    MakeCustom();
}

void LinkLabel::SetHoverFontColor(TColor value) {
    if (value == hoverFontColor_) return;
    hoverFontColor_ = value;
    if (FMouseInside) Invalidate();
    MakeCustom();
}

void LinkLabel::SetLayout(TTextLayout value) {
    if (value == layout_) return;
    layout_ = value;
    MakeCustom();
    Invalidate();
}

void LinkLabel::SetLinkActive(bool value) { linkActive_ = value; }

void LinkLabel::SetLinkedAdress(const QString& value) { linkedAdress_ = value; }

void LinkLabel::SetLinkType(TLinkType value) { linkType_ = value; }

void LinkLabel::SetShadowColor(TColor value) {
    if (value == shadowColor_) return;
    shadowColor_ = value;
    MakeCustom();
    Invalidate();
}

void LinkLabel::SetShadowOffset(std::uint16_t value) {
    if (value == shadowOffset_) return;
    shadowOffset_ = value;
    if (showShadow_) {
        AdjustBounds();
        Invalidate();
    }
    MakeCustom();
}

void LinkLabel::SetShortenFilenames(bool value) {
    if (value == shortenFilenames_) return;
    shortenFilenames_ = value;
    MakeCustom();
    Invalidate();
}

void LinkLabel::SetShowAccelChar(bool value) {
    if (value == showAccelChar_) return;
    showAccelChar_ = value;
    UpdateAccelShortcut();
    AdjustBounds();  // the '&' is measured as it is drawn
    MakeCustom();
    Invalidate();
}

void LinkLabel::SetShowHighlight(bool value) {
    if (value == showHighlight_) return;
    showHighlight_ = value;
    AdjustBounds();
    MakeCustom();
    Invalidate();
}

void LinkLabel::SetShowShadow(bool value) {
    if (value == showShadow_) return;
    showShadow_ = value;
    AdjustBounds();
    MakeCustom();
    Invalidate();
}

void LinkLabel::SetStyle(TLabelStyle value) {
    if (value == style_) return;
    style_ = value;
    switch (value) {
        case ls3DText:
            bevelStyle_ = bvNone;
            bevelWidth_ = 1;
            color_ = clBtnFace;
            highlightColor_ = clBtnHighlight;
            highlightOffset_ = 1;
            highlightPos_ = hpTopLeft;
            linkActive_ = false;
            shadowColor_ = clBtnShadow;
            shadowOffset_ = 1;
            showHighlight_ = true;
            showShadow_ = true;
            break;
        case lsCustom: break;
        case lsLink:
            bevelStyle_ = bvNone;
            bevelWidth_ = 1;
            hoverColor_ = color_;
            hoverFontColor_ = clBlue;
            linkActive_ = true;
            linkType_ = ltWWW;
            showAccelChar_ = false;
            showHighlight_ = false;
            showShadow_ = false;
            underlineOnEnter_ = true;
            SetFontColor(clNavy);
            break;
        case lsPath:
            linkActive_ = false;
            shortenFilenames_ = true;
            showAccelChar_ = false;
            showHighlight_ = false;
            showShadow_ = false;
            break;
        case lsWindow:
            bevelStyle_ = bvSingle;
            bevelWidth_ = 1;
            borderWidth_ = 2;
            color_ = clWindow;
            layout_ = tlCenter;
            linkActive_ = false;
            showHighlight_ = false;
            showShadow_ = false;
            SetFontColor(clWindowText);
            break;
    }
    UpdateAccelShortcut();
    AdjustBounds();
    Invalidate();
}

bool LinkLabel::Transparent() const { return !testAttribute(Qt::WA_OpaquePaintEvent); }

void LinkLabel::SetTransparent(bool value) {
    if (value == Transparent()) return;
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    MakeCustom();
    Invalidate();
}

void LinkLabel::SetUnderlineOnEnter(bool value) {
    if (value == underlineOnEnter_) return;
    underlineOnEnter_ = value;
    if (FMouseInside) Invalidate();
    MakeCustom();
}

void LinkLabel::SetWordWrap(bool value) {
    if (value == wordWrap_ || direction_ != tdRight) return;
    wordWrap_ = value;
    AdjustBounds();
    Invalidate();
}

QString LinkLabel::GetLabelText() const {
    if (!shortenFilenames_) return caption_;
    return MinimizeName(caption_, fontMetrics(), width() - 10);
}

void LinkLabel::Click() {
    if (OnClick) OnClick(this);
    if (!isEnabled() || !linkActive_ || linkType_ == ltNone || linkedAdress_.isEmpty()) return;
    QString target = linkedAdress_;
    if (linkType_ == ltEMail)
        target.prepend(QStringLiteral("mailto:"));
    else if (linkType_ == ltNews)
        target.prepend(QStringLiteral("news:"));
    ExecuteLink();
    platform::ShellOpen(target.toStdString());
}

void LinkLabel::ExecuteLink() {
    if (OnExecuteLink) OnExecuteLink(this);
}

bool LinkLabel::DialogChar(QChar ch) {
    if (!focusControl_ || !isEnabled() || !showAccelChar_ || !IsAccel(ch, caption_)) return false;
    QWidget* target = focusControl_;
    const bool canFocus = target->isEnabled() && target->isVisibleTo(target->window()) &&
                          target->focusPolicy() != Qt::NoFocus;
    if (!canFocus) return false;
    target->setFocus(Qt::ShortcutFocusReason);
    return true;
}

void LinkLabel::UpdateAccelShortcut() {
    const QKeySequence key =
        focusControl_ && showAccelChar_ ? QKeySequence::mnemonic(caption_) : QKeySequence();
    accelShortcut_->setKey(key);
    accelShortcut_->setEnabled(!key.isEmpty());
}

void LinkLabel::UpdateTrueTypeFont() { FTrueTypeFont = IsOutlineFace(font().family()); }

void LinkLabel::FontChanged() {
    update();
    UpdateTrueTypeFont();
    AdjustBounds();
}

void LinkLabel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::ParentChange) FontChanged();
}

void LinkLabel::MouseEntered() {
    if (!FMouseInside && linkActive_ && isEnabled()) {
        FMouseInside = true;
        FSavedCursor.reset();
        if (testAttribute(Qt::WA_SetCursor)) FSavedCursor = cursor();
        setCursor(LinkPointCursor());
        Invalidate();
    }
    if (OnMouseEnter) OnMouseEnter(this);
}

void LinkLabel::MouseLeft() {
    if (FMouseInside && linkActive_ && isEnabled()) {
        FMouseInside = false;
        if (FSavedCursor)
            setCursor(*FSavedCursor);
        else
            unsetCursor();
        Invalidate();
    }
    if (OnMouseExit) OnMouseExit(this);
}

void LinkLabel::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    MouseEntered();
}

void LinkLabel::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    MouseLeft();
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
    if (rect().contains(event->position().toPoint())) Click();
}

}  // namespace widgets
