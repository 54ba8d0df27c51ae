#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "gui/widgets/link_label.h"
#include "gui/widgets/link_label_testing.h"
#include "gui/widgets/qt_color.h"

namespace widgets {
namespace {

using namespace widgets::testing;

const ColorCode kPaper = ColorFromRgb(255, 255, 240), kInk = ColorFromRgb(0, 0, 0),
                kRed = ColorFromRgb(255, 0, 0), kBlue = ColorFromRgb(0, 0, 255);

// A label with known colours whose text pixels are exactly kInk.
void Plain(LinkLabel& l, const QString& caption) {
    l.setBackgroundColor(kPaper);
    l.setTextColor(kInk);
    l.setText(caption);
}

QRect Ink(LinkLabel& l) {
    return InkBox(Render(l), ToQColor(kPaper));
}

TEST(LinkLabelPaint, BackgroundFill) {
    QWidget parent;
    parent.setAutoFillBackground(true);
    parent.setPalette(QPalette(QColor(10, 200, 30)));
    parent.resize(60, 40);
    auto* l = new ProbeLabel(&parent);
    l->move(5, 5);
    l->setBackgroundColor(ColorFromRgb(200, 0, 0));
    const auto centre = [&] { return parent.grab().toImage().pixelColor(l->geometry().center()); };
    EXPECT_EQ(centre(), QColor(200, 0, 0));
    l->setTransparent(true);
    EXPECT_EQ(centre(), QColor(10, 200, 30)) << "the parent shows through";
    l->setLinkActive(true);
    l->setHoverColor(kBlue);
    Hover(*l);
    EXPECT_EQ(centre(), QColor(0, 0, 255)) << "a hovered transparent link fills with HoverColor";
    l->setTransparent(false);
    l->setHoverColor(l->backgroundColor());
    EXPECT_EQ(centre(), QColor(200, 0, 0));
}

TEST(LinkLabelPaint, ShadowCopyOneOffsetRightAndDownAndTheSizeGrowsWithIt) {
    ProbeLabel plain;
    Plain(plain, "Hg&W");
    const PixelSet main = PixelsOf(Render(plain), ToQColor(kInk));
    ASSERT_FALSE(main.empty());
    for (int so : {1, 3}) {
        ProbeLabel l;
        Plain(l, "Hg&W");
        l.setShadowColor(kRed);
        l.setShadowOffset(so);
        l.setShowShadow(true);
        EXPECT_EQ(l.size(), plain.size() + QSize(so, so));
        const QImage image = Render(l);
        EXPECT_EQ(PixelsOf(image, ToQColor(kInk)), main) << "the main text stays at (0, 0)";
        EXPECT_EQ(PixelsOf(image, ToQColor(kRed)), Minus(Shifted(main, so, so), main));
    }
    ProbeLabel all;  // both copies, a bevel and a border all count
    all.setText("Hg&W");
    all.setShowHighlight(true);
    all.setHighlightOffset(2);
    all.setShowShadow(true);
    all.setShadowOffset(3);
    all.setBevelStyle(BevelStyle::Raised);
    all.setBevelWidth(4);
    all.setBorderWidth(5);
    EXPECT_EQ(all.size(), plain.size() + QSize(23, 23));
    all.setBevelStyle(BevelStyle::Single);
    all.setBorderWidth(6);
    EXPECT_EQ(all.size(), plain.size() + QSize(26, 26));

    for (int px = 9; px <= 16; ++px) {  // a 13-pixel-high text gives a 14-pixel-high label
        ProbeLabel l;
        l.setFont(TestFont(px));
        l.setText("Shadow");
        if (l.height() != 13) continue;
        l.setShowShadow(true);
        EXPECT_EQ(l.height(), 14);
        return;
    }
    GTEST_SKIP() << "no pixel size of the test face gives a 13-pixel text height";
}

TEST(LinkLabelPaint, DisabledShowsTwoCopiesAndNoHoverLook) {
    ProbeLabel reference;
    Plain(reference, "Off");
    reference.setTextColor(colors::buttonShadow);
    const PixelSet main = PixelsOf(Render(reference), ToQColor(colors::buttonShadow));
    ASSERT_FALSE(main.empty());

    ProbeLabel l;
    Plain(l, "Off");
    l.setShowShadow(true);
    l.setShadowColor(kRed);
    l.setLinkActive(true);
    l.setHoverTextColor(kBlue);
    Hover(l);
    l.setEnabled(false);
    ASSERT_TRUE(l.isHovered());
    const QImage image = Render(l);
    EXPECT_EQ(PixelsOf(image, ToQColor(colors::buttonShadow)), main);
    EXPECT_EQ(PixelsOf(image, ToQColor(colors::buttonHighlight)), Minus(Shifted(main, 1, 1), main));
    EXPECT_TRUE(PixelsOf(image, ToQColor(kRed)).empty() &&
                PixelsOf(image, ToQColor(kBlue)).empty());
}

TEST(LinkLabelPaint, HoveredLinkIsUnderlinedInTheHoverColour) {
    ProbeLabel l;
    Plain(l, "link");
    l.setLinkActive(true);
    l.setHoverTextColor(kBlue);
    Hover(l);
    const QImage image = Render(l);
    EXPECT_TRUE(PixelsOf(image, ToQColor(kInk)).empty());
    const PixelSet blue = PixelsOf(image, ToQColor(kBlue));
    int widestRow = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) run += int(blue.count({x, y}));
        widestRow = std::max(widestRow, run);
    }
    EXPECT_GE(widestRow, image.width() - 3) << "an underline spans the text";
}

TEST(LinkLabelPaint, AlignmentAndLayoutOffsets) {
    ProbeLabel fit;
    Plain(fit, "Mid");
    const QRect home = Ink(fit);
    const struct {
        HorizontalAlignment a;
        VerticalAlignment layout;
        int border;
        QPoint shift;  // in a label 13 wider and 9 higher than its text: W - tw is odd
    } cases[] = {
        {HorizontalAlignment::Left, VerticalAlignment::Top, 2, {2, 2}},
        {HorizontalAlignment::Center, VerticalAlignment::Top, 0, {13 / 2, 0}},
        {HorizontalAlignment::Right, VerticalAlignment::Top, 1, {13 - 2 - 1, 1}},
        {HorizontalAlignment::Left, VerticalAlignment::Center, 0, {0, 9 / 2}},
        {HorizontalAlignment::Left, VerticalAlignment::Bottom, 3, {3, 9 - 3}},
    };
    for (const auto& c : cases) {
        ProbeLabel l;
        Plain(l, "Mid");
        l.setAutoSize(false);
        l.resize(fit.size() + QSize(13, 9));
        l.setBorderWidth(c.border);
        l.setAlignment(c.a);
        l.setVerticalAlignment(c.layout);
        // Alignment inside the measured rectangle may move glyphs by a fraction of a pixel.
        const QRect ink = Ink(l);
        EXPECT_EQ(ink.topLeft(), home.topLeft() + c.shift) << int(c.a) << "/" << int(c.layout);
        EXPECT_LE(std::abs(ink.width() - home.width()), 1) << int(c.a) << "/" << int(c.layout);
    }
}

TEST(LinkLabelPaint, MnemonicAndEmptyTextMeasuring) {
    ProbeLabel plain, marked, space, empty, lone, line;
    plain.setText("Name");
    marked.setText("&Name");
    EXPECT_EQ(marked.size(), plain.size());
    marked.setShowMnemonic(false);
    EXPECT_GT(marked.width(), plain.width()) << "a drawn '&' is measured too";
    space.setText(" ");
    lone.setText("&");
    line.setText("Xg");
    EXPECT_EQ(empty.size(), space.size());
    EXPECT_EQ(lone.size(), space.size());
    EXPECT_EQ(empty.height(), line.height()) << "an empty caption keeps the height of one line";
}

TEST(LinkLabelPaint, TurnedTextSwapsTheSizeAndStartsWhereTheDirectionSays) {
    ProbeLabel flat;
    Plain(flat, "Turn");
    const QSize ink = Ink(flat).size();
    for (TextDirection d : {TextDirection::Left, TextDirection::Down, TextDirection::Up}) {
        ProbeLabel l;
        Plain(l, "Turn");
        l.setTextDirection(d);
        ASSERT_EQ(l.textDirection(), d);
        const bool turned = d != TextDirection::Left;
        EXPECT_EQ(l.size(), turned ? flat.size().transposed() : flat.size()) << int(d);
        const QRect got = Ink(l);
        const QSize want = turned ? ink.transposed() : ink;
        EXPECT_LE(std::abs(got.width() - want.width()), 1) << int(d);
        EXPECT_LE(std::abs(got.height() - want.height()), 1) << int(d);
        EXPECT_TRUE(l.rect().contains(got)) << int(d);
    }
    for (TextDirection d :
         {TextDirection::Right, TextDirection::Left, TextDirection::Down, TextDirection::Up}) {
        ProbeLabel l;  // only the first letter has ink: it sits where the text starts
        Plain(l, "T      ");
        l.setTextDirection(d);
        const QPoint c = Ink(l).center();
        const QSize s = l.size();
        const bool atStart = d == TextDirection::Right  ? c.x() < s.width() / 3
                             : d == TextDirection::Left ? c.x() > 2 * s.width() / 3
                             : d == TextDirection::Down ? c.y() < s.height() / 3
                                                        : c.y() > 2 * s.height() / 3;
        EXPECT_TRUE(atStart) << "direction " << int(d) << " ink centre " << c.x() << "," << c.y();
    }
}

TEST(LinkLabelPaint, BevelEdgesUseTheShadesAndLeaveOutEndPoints) {
    const QColor light(223, 223, 223), dark(115, 115, 115), silver(192, 192, 192), black(0, 0, 0);
    const QColor navy(0, 0, 128), frame = ToQColor(colors::windowFrame);
    const struct {
        BevelStyle bevel;
        int width;
        ColorCode color;
        std::vector<std::pair<QPoint, QColor>> pixels;  // in a 20 x 12 label
    } cases[] = {
        {BevelStyle::Raised,
         1,
         colors::silver,
         {{{19, 0}, light},
          {{0, 10}, light},
          {{0, 11}, dark},
          {{10, 11}, dark},
          {{19, 1}, dark},
          {{1, 1}, silver}}},
        {BevelStyle::Lowered,
         2,
         colors::silver,
         {{{5, 1}, dark}, {{1, 9}, dark}, {{1, 10}, light}, {{18, 5}, light}, {{2, 2}, silver}}},
        {BevelStyle::Single,
         1,
         ColorFromRgb(0, 0, 128),
         {{{18, 1}, black},
          {{1, 9}, black},
          {{1, 10}, silver},
          {{18, 10}, silver},
          {{18, 2}, silver},
          {{2, 2}, navy}}},
        {BevelStyle::Frame,
         1,
         colors::silver,
         {{{0, 0}, frame}, {{19, 11}, frame}, {{1, 1}, silver}}},
    };
    for (const auto& c : cases) {
        ProbeLabel l;
        l.setAutoSize(false);
        l.resize(20, 12);
        l.setBackgroundColor(c.color);
        l.setBevelStyle(c.bevel);
        l.setBevelWidth(std::uint16_t(c.width));
        const QImage image = Render(l);
        for (const auto& [at, color] : c.pixels)
            EXPECT_EQ(image.pixelColor(at), color)
                << "bevel " << int(c.bevel) << " at " << at.x() << "," << at.y();
    }
}

// A sheet of labels in every style, direction and bevel, in the classic Windows colours. It is
// saved to the file named by ZEL_GALLERY_OUT (scripts/gallery.sh: docs/linklabel-gallery.png).
TEST(LinkLabelPaint, Gallery) {
    const QPalette saved = QApplication::palette();
    QPalette classic(Qt::black, QColor(192, 192, 192), Qt::white, QColor(128, 128, 128),
                     QColor(160, 160, 160), Qt::black, Qt::white);
    classic.setColor(QPalette::Shadow, Qt::black);
    QApplication::setPalette(classic);
    QWidget sheet;
    sheet.setAutoFillBackground(true);
    std::vector<LinkLabel*> labels;
    const auto add = [&](const QString& caption, int x, int y, LabelStyle style) {
        auto* l = new LinkLabel(&sheet);
        l->setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
        l->move(x, y);
        l->setText(caption);
        l->setLabelStyle(style);
        labels.push_back(l);
        return l;
    };
    int x = 10, y = 50, right = 0;
    // The captions stay as pictured in docs/linklabel-gallery.png.
    for (auto [style, caption] : {std::pair{LabelStyle::Text3D, "ls3DText"},
                                  {LabelStyle::Custom, "lsCustom"},
                                  {LabelStyle::Link, "lsLink"},
                                  {LabelStyle::Window, "lsWindow"},
                                  {LabelStyle::Link, "lsLink hovered"},
                                  {LabelStyle::Custom, "&Disabled"}})
        x += add(caption, x, 10, style)->width() + 14;
    Hover(*labels[4]);
    labels[5]->setEnabled(false);
    LinkLabel* path = add("C:\\Routes\\Demo\\Envfiles\\rain.env", x, 10, LabelStyle::Custom);
    path->setAutoSize(false);
    path->resize(150, 20);
    path->setLabelStyle(LabelStyle::Path);
    for (BevelStyle bevel : {BevelStyle::None, BevelStyle::Frame, BevelStyle::Lowered,
                             BevelStyle::Raised, BevelStyle::Single}) {
        x = 10;
        int rowHeight = 0;
        for (TextDirection dir :
             {TextDirection::Right, TextDirection::Left, TextDirection::Down, TextDirection::Up}) {
            const char* dirs[] = {"tdRight", "tdLeft", "tdDown", "tdUp"};
            const char* bevels[] = {"bvFrame", "bvLowered", "bvNone", "bvRaised", "bvSingle"};
            LinkLabel* l = add(QStringLiteral("%1 %2").arg(dirs[int(dir)], bevels[int(bevel)]), x,
                               y, LabelStyle::Text3D);
            l->setBevelStyle(bevel);
            l->setBevelWidth(bevel == BevelStyle::None ? 1 : 2);
            l->setBorderWidth(3);
            l->setAlignment(HorizontalAlignment::Center);
            l->setTextDirection(dir);
            x += l->width() + 14;
            rowHeight = std::max(rowHeight, l->height());
        }
        y += rowHeight + 12;
    }
    for (LinkLabel* l : labels) right = std::max(right, l->geometry().right());
    sheet.resize(right + 11, y);

    const QImage image = Render(sheet);
    for (LinkLabel* l : labels)
        EXPECT_FALSE(InkBox(image.copy(l->geometry()), ToQColor(l->backgroundColor())).isEmpty())
            << l->text().toStdString();
    QApplication::setPalette(saved);
    if (const char* out = std::getenv("ZEL_GALLERY_OUT")) {
        EXPECT_TRUE(image.save(QString::fromLocal8Bit(out)));
    }
}

}  // namespace
}  // namespace widgets
