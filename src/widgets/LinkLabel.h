#pragma once
// A label that can act as a hyperlink: it opens a web, mail or news target through the shell when
// clicked, shows a hover look and a pointing-hand cursor over an active link, draws highlight and
// shadow copies of its text, turns its text by 90/180/270 degrees, draws a bevel, shortens file
// paths to its width and sizes itself to its text.
//
// It is a plain child QWidget without a native window of its own. The framework's opaque control
// style is Qt::WA_OpaquePaintEvent. The accelerator is a window-wide QShortcut (Alt+letter of the
// caption's '&' mark) that exists only while a FocusControl is set and ShowAccelChar is on.
#include <QCursor>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "widgets/colorcode.h"

class QFontMetrics;
class QPainter;
class QShortcut;

namespace widgets {

enum TLabelStyle : std::uint8_t { ls3DText, lsCustom, lsLink, lsPath, lsWindow };
enum TLinkType : std::uint8_t { ltEMail, ltNews, ltNone, ltWWW };
// tdLeft is turned 180 degrees, tdDown 270 (read top to bottom), tdUp 90 (read bottom to top).
enum TTextDirection : std::uint8_t { tdRight, tdLeft, tdDown, tdUp };
enum THighLightPos : std::uint8_t { hpTopLeft, hpTopRight };
enum TLabelBevel : std::uint8_t { bvFrame, bvLowered, bvNone, bvRaised, bvSingle };
enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };

using TNotifyEvent = std::function<void(QObject* Sender)>;

// The link cursor's number in the framework's cursor table; here it names the shared hand cursor.
inline constexpr int crLinkPoint = -30;
// The 32 x 32 two-colour pointing hand with its hot spot at (7, 1), from the program's resources.
QCursor LinkPointCursor();

// Shortens a file path to `maxWidth` pixels: keeps the file name (and the drive while it can),
// replaces leading folders by "..." one at a time, then drops the drive, then everything but the
// name. Returns the first form that fits, or the shortest one.
QString MinimizeName(const QString& fileName, const QFontMetrics& metrics, int maxWidth);

// Does `ch` match the '&'-marked accelerator of `caption` (case-insensitively)?
bool IsAccel(QChar ch, const QString& caption);

class LinkLabel : public QWidget {
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);
    ~LinkLabel() override;

    // Reading from a form resource: between the two calls no automatic size is computed and any
    // Direction is accepted; Loaded() computes the size once.
    void BeginLoading();
    virtual void Loaded();

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // The framework font's colour; setting it counts as a font change.
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor color);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool AutoSize() const { return autoSize_; }
    virtual void SetAutoSize(bool value);
    TLabelBevel BevelStyle() const { return bevelStyle_; }
    void SetBevelStyle(TLabelBevel value);
    std::uint16_t BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(std::uint16_t value);
    std::uint16_t BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(std::uint16_t value);
    // The label's own background colour, apart from the palette.
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TTextDirection Direction() const { return direction_; }
    // Turned directions need a scalable outline font; otherwise they are refused silently at run
    // time (not while loading).
    void SetDirection(TTextDirection value);
    QWidget* FocusControl() const { return focusControl_; }
    void SetFocusControl(QWidget* control);
    TColor HighlightColor() const { return highlightColor_; }
    void SetHighlightColor(TColor value);
    std::uint16_t HighlightOffset() const { return highlightOffset_; }
    void SetHighlightOffset(std::uint16_t value);
    THighLightPos HighlightPos() const { return highlightPos_; }
    void SetHighlightPos(THighLightPos value);
    TColor HoverColor() const { return hoverColor_; }
    void SetHoverColor(TColor value);
    TColor HoverFontColor() const { return hoverFontColor_; }
    void SetHoverFontColor(TColor value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    bool LinkActive() const { return linkActive_; }
    void SetLinkActive(bool value);
    QString LinkedAdress() const { return linkedAdress_; }
    void SetLinkedAdress(const QString& value);
    TLinkType LinkType() const { return linkType_; }
    void SetLinkType(TLinkType value);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor value);
    std::uint16_t ShadowOffset() const { return shadowOffset_; }
    void SetShadowOffset(std::uint16_t value);
    bool ShortenFilenames() const { return shortenFilenames_; }
    void SetShortenFilenames(bool value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    bool ShowHighlight() const { return showHighlight_; }
    void SetShowHighlight(bool value);
    bool ShowShadow() const { return showShadow_; }
    void SetShowShadow(bool value);
    TLabelStyle Style() const { return style_; }
    // Writes the style's preset fields directly (lsCustom writes none), then sizes and repaints.
    void SetStyle(TLabelStyle value);
    // True exactly when the opaque paint attribute is off.
    bool Transparent() const;
    void SetTransparent(bool value);
    bool UnderlineOnEnter() const { return underlineOnEnter_; }
    void SetUnderlineOnEnter(bool value);
    bool WordWrap() const { return wordWrap_; }
    // Only switchable while Direction is tdRight.
    void SetWordWrap(bool value);

    TNotifyEvent OnClick;
    TNotifyEvent OnExecuteLink;  // just before the shell opens the link
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;

    // The text to draw: the caption, or with ShortenFilenames the caption shortened to the width
    // minus 10 pixels.
    virtual QString GetLabelText() const;
    // Calls OnClick, then opens the link of an enabled, active label with an address.
    virtual void Click();
    // The accelerator notification: focuses FocusControl when `ch` is the caption's accelerator.
    // Returns whether it was handled.
    bool DialogChar(QChar ch);

    bool MouseInside() const { return FMouseInside; }
    bool TrueTypeFont() const { return FTrueTypeFont; }

protected:
    virtual void ExecuteLink();
    // Requests a repaint; the one place every setter's "repaint" goes through.
    virtual void Invalidate();

    void AdjustBounds();
    virtual void Paint(QPainter& canvas);
    void DoDrawText(QPainter& canvas, QRect rect, int flags);
    void DrawTextDir(QPainter& canvas, const QString& text, QRect rect, TTextDirection direction,
                     int flags);
    static void TextOutRotated(QPainter& canvas, int x, int y, const QString& text, int angle);
    QString CalcDrawRect(QRect& rect) const;
    QRect CalcTextRect(QRect rect) const;
    void DrawBevel(QPainter& canvas, QRect rect);

    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void MakeCustom();
    void FontChanged();
    void UpdateTrueTypeFont();
    void MouseEntered();
    void MouseLeft();
    void UpdateAccelShortcut();
    // The measuring text: one space stands in for an empty text or a lone accelerator mark.
    QString MeasuringText(const QString& text) const;
    int MeasureFlags() const;
    // The size `text` takes when laid out in a label `width` wide.
    QSize TextSize(const QString& text, int width) const;

    QString caption_;
    TColor fontColor_;
    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    TLabelBevel bevelStyle_ = bvNone;
    std::uint16_t bevelWidth_ = 1;
    std::uint16_t borderWidth_ = 0;
    TColor color_ = clBtnFace;
    TTextDirection direction_ = tdRight;
    QPointer<QWidget> focusControl_;
    QMetaObject::Connection focusWatch_;
    TColor highlightColor_ = clBtnHighlight;
    std::uint16_t highlightOffset_ = 1;
    THighLightPos highlightPos_ = hpTopLeft;
    TColor hoverColor_;
    TColor hoverFontColor_;
    TTextLayout layout_ = tlTop;
    bool linkActive_ = false;
    QString linkedAdress_;
    TLinkType linkType_ = ltWWW;
    TColor shadowColor_ = clBtnShadow;
    std::uint16_t shadowOffset_ = 1;
    bool shortenFilenames_ = false;
    bool showAccelChar_ = true;
    bool showHighlight_ = false;
    bool showShadow_ = false;
    TLabelStyle style_ = lsCustom;
    bool underlineOnEnter_ = true;
    bool wordWrap_ = false;

    bool FMouseInside = false;
    // The cursor before the hover look; empty when the label had none of its own.
    std::optional<QCursor> FSavedCursor;
    bool FTrueTypeFont = false;
    bool loading_ = false;
    bool pressed_ = false;
    QShortcut* accelShortcut_ = nullptr;
};

}  // namespace widgets
