#pragma once
// A label that can act as a hyperlink: it opens a web, mail or news target through the shell when
// clicked, shows a hover look and a pointing-hand cursor over an active link, draws highlight and
// shadow copies of its text, turns its text by 90/180/270 degrees, draws a bevel, shortens file
// paths to its width and sizes itself to its text.
//
// It is a plain child QWidget without a native window of its own; an opaque label paints its whole
// rectangle (Qt::WA_OpaquePaintEvent). The mnemonic is a window-wide QShortcut (Alt+letter of the
// text's '&' mark) that exists only while a buddy is set and showMnemonic() is on.
#include <QCursor>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "core/colour/color_code.h"

class QFontMetrics;
class QPainter;
class QShortcut;

namespace widgets {
Q_NAMESPACE

// Text3D: embossed text with highlight and shadow copies; Custom: whatever was set one by one.
enum class LabelStyle : std::uint8_t { Text3D, Custom, Link, Path, Window };
enum class LinkType : std::uint8_t { Email, News, None, Web };
Q_ENUM_NS(LinkType)  // named in forms
// Left is turned 180 degrees, Down 270 (read top to bottom), Up 90 (read bottom to top).
enum class TextDirection : std::uint8_t { Right, Left, Down, Up };
enum class HighlightPosition : std::uint8_t { TopLeft, TopRight };
enum class BevelStyle : std::uint8_t { Frame, Lowered, None, Raised, Single };
enum class HorizontalAlignment : std::uint8_t { Left, Right, Center };
enum class VerticalAlignment : std::uint8_t { Top, Center, Bottom };

// The 32 x 32 two-colour pointing hand with its hot spot at (7, 1), from the program's resources.
QCursor LinkCursor();

// Shortens a file path to `maxWidth` pixels: keeps the file name (and the drive while it can),
// replaces leading folders by "..." one at a time, then drops the drive, then everything but the
// name. Returns the first form that fits, or the shortest one.
QString ShortenPath(const QString& fileName, const QFontMetrics& metrics, int maxWidth);

// Does `ch` match the '&'-marked mnemonic of `text` (case-insensitively)?
bool MatchesMnemonic(QChar ch, const QString& text);

class LinkLabel : public QWidget {
    Q_OBJECT
    // What a form sets on a label: its text, the link and the flags of its look. Colours and the
    // other settings are set in code.
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(widgets::LinkType linkType READ linkType WRITE setLinkType)
    Q_PROPERTY(QString linkAddress READ linkAddress WRITE setLinkAddress)
    Q_PROPERTY(bool linkActive READ linkActive WRITE setLinkActive)
    Q_PROPERTY(bool showMnemonic READ showMnemonic WRITE setShowMnemonic)
    Q_PROPERTY(bool showHighlight READ showHighlight WRITE setShowHighlight)
    Q_PROPERTY(bool showShadow READ showShadow WRITE setShowShadow)
    Q_PROPERTY(bool shortenFilenames READ shortenFilenames WRITE setShortenFilenames)
    Q_PROPERTY(bool transparent READ isTransparent WRITE setTransparent)
  public:
    explicit LinkLabel(QWidget* parent = nullptr);
    ~LinkLabel() override;

    // Setting up a label from its design: between the two calls no automatic size is computed and
    // any text direction is accepted; endLoading() computes the size once.
    void beginLoading();
    virtual void endLoading();

    QString text() const { return text_; }
    void setText(const QString& text);
    // The font's colour; setting it counts as a font change.
    ColorCode textColor() const { return textColor_; }
    void setTextColor(ColorCode color);

    HorizontalAlignment alignment() const { return alignment_; }
    void setAlignment(HorizontalAlignment value);
    bool autoSize() const { return autoSize_; }
    virtual void setAutoSize(bool value);
    BevelStyle bevelStyle() const { return bevelStyle_; }
    void setBevelStyle(BevelStyle value);
    std::uint16_t bevelWidth() const { return bevelWidth_; }
    void setBevelWidth(std::uint16_t value);
    std::uint16_t borderWidth() const { return borderWidth_; }
    void setBorderWidth(std::uint16_t value);
    // The label's own background colour, apart from the palette.
    ColorCode backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(ColorCode value);
    TextDirection textDirection() const { return textDirection_; }
    // Turned directions need a scalable outline font; otherwise they are refused silently at run
    // time (not while loading).
    void setTextDirection(TextDirection value);
    QWidget* buddy() const { return buddy_; }
    void setBuddy(QWidget* control);
    ColorCode highlightColor() const { return highlightColor_; }
    void setHighlightColor(ColorCode value);
    std::uint16_t highlightOffset() const { return highlightOffset_; }
    void setHighlightOffset(std::uint16_t value);
    HighlightPosition highlightPosition() const { return highlightPosition_; }
    void setHighlightPosition(HighlightPosition value);
    ColorCode hoverColor() const { return hoverColor_; }
    void setHoverColor(ColorCode value);
    ColorCode hoverTextColor() const { return hoverTextColor_; }
    void setHoverTextColor(ColorCode value);
    VerticalAlignment verticalAlignment() const { return verticalAlignment_; }
    void setVerticalAlignment(VerticalAlignment value);
    bool linkActive() const { return linkActive_; }
    void setLinkActive(bool value);
    QString linkAddress() const { return linkAddress_; }
    void setLinkAddress(const QString& value);
    LinkType linkType() const { return linkType_; }
    void setLinkType(LinkType value);
    ColorCode shadowColor() const { return shadowColor_; }
    void setShadowColor(ColorCode value);
    std::uint16_t shadowOffset() const { return shadowOffset_; }
    void setShadowOffset(std::uint16_t value);
    bool shortenFilenames() const { return shortenFilenames_; }
    void setShortenFilenames(bool value);
    bool showMnemonic() const { return showMnemonic_; }
    void setShowMnemonic(bool value);
    bool showHighlight() const { return showHighlight_; }
    void setShowHighlight(bool value);
    bool showShadow() const { return showShadow_; }
    void setShowShadow(bool value);
    LabelStyle labelStyle() const { return labelStyle_; }
    // Writes the style's preset fields directly (Custom writes none), then sizes and repaints.
    void setLabelStyle(LabelStyle value);
    // True exactly when the opaque paint attribute is off.
    bool isTransparent() const;
    void setTransparent(bool value);
    bool underlineOnHover() const { return underlineOnHover_; }
    void setUnderlineOnHover(bool value);
    bool wordWrap() const { return wordWrap_; }
    // Only switchable while the text direction is Right.
    void setWordWrap(bool value);

    // The text to draw: text(), or with shortenFilenames() the text shortened to the width
    // minus 10 pixels.
    virtual QString displayText() const;
    // What a click hands the shell: the address, with "mailto:" or "news:" in front for those
    // types; empty for no link type or no address.
    QString linkTarget() const;
    // Emits clicked(), then opens the link of an enabled, active label with an address.
    virtual void click();
    // A mnemonic key press: focuses the buddy when `ch` is the text's mnemonic.
    // Returns whether it was handled.
    bool handleMnemonic(QChar ch);

    bool isHovered() const { return hovered_; }
    bool hasOutlineFont() const { return outlineFont_; }

  signals:
    void clicked();
    void linkAboutToOpen();  // just before the shell opens the link
    void mouseEntered();
    void mouseLeft();

  protected:
    virtual void executeLink();
    // Requests a repaint; the one place every setter's "repaint" goes through.
    virtual void invalidate();

    void adjustBounds();
    virtual void paint(QPainter& canvas);
    void drawLabelText(QPainter& canvas, QRect rect, int flags);
    // Where the text goes: the rect moved by the bevel, the alignments for its direction, and
    // the highlight and shadow. `textSize` is along the text, then across it.
    QRect placeText(QRect rect, QSize textSize) const;
    // The disabled look, or the highlight, the shadow and the text itself, each in its colour.
    void drawTextLayers(QPainter& canvas, const QString& text, QRect rect, int flags);
    void drawTextInDirection(QPainter& canvas, const QString& text, QRect rect,
                             TextDirection direction, int flags);
    static void drawRotatedText(QPainter& canvas, int x, int y, const QString& text, int angle);
    QString calcDrawRect(QRect& rect) const;
    QRect calcTextRect(QRect rect) const;
    void drawBevel(QPainter& canvas, QRect rect);

    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void makeCustom();
    void updateFromFont();
    void updateOutlineFont();
    void enterHover();
    void leaveHover();
    void updateMnemonicShortcut();
    // The measuring text: one space stands in for an empty text or a lone mnemonic mark.
    QString measuringText(const QString& text) const;
    int measureFlags() const;
    // The size `text` takes when laid out in a label `width` wide.
    QSize textSize(const QString& text, int width) const;

    QString text_;
    ColorCode textColor_;
    HorizontalAlignment alignment_ = HorizontalAlignment::Left;
    bool autoSize_ = true;
    BevelStyle bevelStyle_ = BevelStyle::None;
    std::uint16_t bevelWidth_ = 1;
    std::uint16_t borderWidth_ = 0;
    ColorCode backgroundColor_ = colors::buttonFace;
    TextDirection textDirection_ = TextDirection::Right;
    QPointer<QWidget> buddy_;
    QMetaObject::Connection buddyWatch_;
    ColorCode highlightColor_ = colors::buttonHighlight;
    std::uint16_t highlightOffset_ = 1;
    HighlightPosition highlightPosition_ = HighlightPosition::TopLeft;
    ColorCode hoverColor_;
    ColorCode hoverTextColor_;
    VerticalAlignment verticalAlignment_ = VerticalAlignment::Top;
    bool linkActive_ = false;
    QString linkAddress_;
    LinkType linkType_ = LinkType::Web;
    ColorCode shadowColor_ = colors::buttonShadow;
    std::uint16_t shadowOffset_ = 1;
    bool shortenFilenames_ = false;
    bool showMnemonic_ = true;
    bool showHighlight_ = false;
    bool showShadow_ = false;
    LabelStyle labelStyle_ = LabelStyle::Custom;
    bool underlineOnHover_ = true;
    bool wordWrap_ = false;

    bool hovered_ = false;
    // The cursor before the hover look; empty when the label had none of its own.
    std::optional<QCursor> savedCursor_;
    bool outlineFont_ = false;
    bool loading_ = false;
    bool pressed_ = false;
    QShortcut* mnemonicShortcut_ = nullptr;
};

}  // namespace widgets
