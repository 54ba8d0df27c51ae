#include "gui/widgets/link_label.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "core/platform/paths.h"
#include "gui/platform/shell.h"
#include "gui/widgets/link_label_testing.h"

namespace widgets {
namespace {

using namespace widgets::testing;

TEST(LinkLabel, DefaultsAfterConstruction) {
    LinkLabel l;
    EXPECT_EQ(l.size(), QSize(65, 17));
    EXPECT_FALSE(l.testAttribute(Qt::WA_NativeWindow));
    EXPECT_TRUE(l.autoSize() && l.showMnemonic() && l.underlineOnHover());
    EXPECT_FALSE(l.linkActive() || l.shortenFilenames() || l.showHighlight() || l.showShadow() ||
                 l.isTransparent() || l.wordWrap() || l.isHovered() || l.buddy());
    EXPECT_EQ(std::tuple(l.alignment(), l.bevelStyle(), l.bevelWidth(), l.borderWidth(),
                         l.textDirection(), l.highlightOffset(), l.highlightPosition(),
                         l.verticalAlignment(), l.linkType(), l.shadowOffset(), l.labelStyle()),
              std::tuple(HorizontalAlignment::Left, BevelStyle::None, 1, 0, TextDirection::Right, 1,
                         HighlightPosition::TopLeft, VerticalAlignment::Top, LinkType::Web, 1,
                         LabelStyle::Custom));
    EXPECT_EQ(std::vector<ColorCode>({l.backgroundColor(), l.highlightColor(), l.hoverColor(),
                                      l.hoverTextColor(), l.shadowColor()}),
              std::vector<ColorCode>({colors::buttonFace, colors::buttonHighlight,
                                      colors::buttonFace, l.textColor(), colors::buttonShadow}));
    EXPECT_FALSE(l.linkAddress().isEmpty());
}

TEST(LinkLabel, SetterEffects) {
    struct Case {
        const char* name;
        std::function<void(LinkLabel&)> set;
        bool custom, repaint, size;
    };
    const std::vector<Case> cases = {
        {"alignment", [](LinkLabel& l) { l.setAlignment(HorizontalAlignment::Center); }, false,
         true, false},
        {"bevelStyle", [](LinkLabel& l) { l.setBevelStyle(BevelStyle::Raised); }, true, true,
         false},
        {"bevelWidth", [](LinkLabel& l) { l.setBevelWidth(3); }, true, true, true},
        {"borderWidth", [](LinkLabel& l) { l.setBorderWidth(2); }, false, true, true},
        {"backgroundColor", [](LinkLabel& l) { l.setBackgroundColor(colors::red); }, true, true,
         false},
        {"textDirection", [](LinkLabel& l) { l.setTextDirection(TextDirection::Up); }, false, true,
         true},
        {"highlightColor", [](LinkLabel& l) { l.setHighlightColor(colors::red); }, true, false,
         false},
        {"highlightOffset", [](LinkLabel& l) { l.setHighlightOffset(3); }, true, false, false},
        {"highlightPosition",
         [](LinkLabel& l) { l.setHighlightPosition(HighlightPosition::TopRight); }, true, true,
         false},
        {"hoverColor", [](LinkLabel& l) { l.setHoverColor(colors::red); }, true, false, false},
        {"hoverTextColor", [](LinkLabel& l) { l.setHoverTextColor(colors::red); }, true, false,
         false},
        {"verticalAlignment",
         [](LinkLabel& l) { l.setVerticalAlignment(VerticalAlignment::Bottom); }, true, true,
         false},
        {"linkActive", [](LinkLabel& l) { l.setLinkActive(true); }, false, false, false},
        {"linkAddress", [](LinkLabel& l) { l.setLinkAddress("x"); }, false, false, false},
        {"linkType", [](LinkLabel& l) { l.setLinkType(LinkType::News); }, false, false, false},
        {"shadowColor", [](LinkLabel& l) { l.setShadowColor(colors::red); }, true, true, false},
        {"shadowOffset", [](LinkLabel& l) { l.setShadowOffset(3); }, true, false, false},
        {"shortenFilenames", [](LinkLabel& l) { l.setShortenFilenames(false); }, true, true, false},
        {"showMnemonic", [](LinkLabel& l) { l.setShowMnemonic(true); }, true, true, true},
        {"showHighlight", [](LinkLabel& l) { l.setShowHighlight(true); }, true, true, true},
        {"showShadow", [](LinkLabel& l) { l.setShowShadow(true); }, true, true, true},
        {"transparent", [](LinkLabel& l) { l.setTransparent(true); }, true, true, false},
        {"underlineOnHover", [](LinkLabel& l) { l.setUnderlineOnHover(false); }, true, false,
         false},
        {"wordWrap", [](LinkLabel& l) { l.setWordWrap(true); }, false, true, true},
        {"labelStyle", [](LinkLabel& l) { l.setLabelStyle(LabelStyle::Custom); }, true, true, true},
    };
    for (const Case& c : cases) {
        ProbeLabel l;
        l.setText("C:\\data\\file.txt");
        l.setLabelStyle(LabelStyle::Path);
        l.resize(1, 1);
        l.invalidations = 0;
        c.set(l);
        EXPECT_EQ(l.labelStyle() == LabelStyle::Custom, c.custom) << c.name;
        EXPECT_EQ(l.invalidations > 0, c.repaint) << c.name;
        EXPECT_EQ(l.size() != QSize(1, 1), c.size) << c.name;

        // Setting the same value again changes nothing.
        const LabelStyle style = l.labelStyle();
        l.resize(1, 1);
        l.invalidations = 0;
        c.set(l);
        EXPECT_EQ(l.labelStyle(), style) << c.name;
        EXPECT_EQ(l.invalidations, 0) << c.name;
        EXPECT_EQ(l.size(), QSize(1, 1)) << c.name;
    }
}

TEST(LinkLabel, OffsetsResizeWhileShownHoverSettersRepaintWhileInsideAndAutoSizeOffKeepsTheSize) {
    ProbeLabel l;
    l.setShowHighlight(true);
    l.setShowShadow(true);
    const QSize base = l.size();
    l.setHighlightOffset(3);
    l.setShadowOffset(2);
    EXPECT_EQ(l.size(), base + QSize(3, 3));
    l.setLinkActive(true);
    Hover(l);
    l.invalidations = 0;
    l.setHoverColor(colors::red);
    l.setHoverTextColor(colors::lime);
    l.setUnderlineOnHover(false);
    EXPECT_EQ(l.invalidations, 3);

    l.setAutoSize(false);
    l.resize(200, 40);
    l.setText("a much longer caption than before");
    EXPECT_EQ(l.size(), QSize(200, 40));
    l.setAutoSize(true);
    EXPECT_NE(l.size(), QSize(200, 40));
}

TEST(LinkLabel, StylePresets) {
    ProbeLabel l;
    l.setBackgroundColor(colors::yellow);
    l.setBevelStyle(BevelStyle::Raised);
    l.setLabelStyle(LabelStyle::Link);
    EXPECT_EQ(std::vector<ColorCode>(
                  {l.textColor(), l.hoverTextColor(), l.hoverColor(), l.backgroundColor()}),
              std::vector<ColorCode>({colors::navy, colors::blue, colors::yellow, colors::yellow}));
    EXPECT_TRUE(l.bevelStyle() == BevelStyle::None && l.linkActive() && !l.showMnemonic());
    l.setHighlightColor(colors::red);  // custom now, without writing any preset
    EXPECT_TRUE(l.labelStyle() == LabelStyle::Custom && l.linkActive() &&
                l.textColor() == colors::navy);

    l.setLabelStyle(LabelStyle::Text3D);
    EXPECT_TRUE(l.showHighlight() && l.showShadow() && !l.linkActive());
    EXPECT_TRUE(l.highlightColor() == colors::buttonHighlight &&
                l.backgroundColor() == colors::buttonFace);
    l.setShadowColor(colors::red);
    EXPECT_TRUE(l.labelStyle() == LabelStyle::Custom && l.showHighlight() && l.showShadow());

    l.setBevelStyle(BevelStyle::Lowered);
    l.setLabelStyle(LabelStyle::Path);  // keeps the bevel
    EXPECT_TRUE(l.bevelStyle() == BevelStyle::Lowered && l.shortenFilenames() &&
                !l.showHighlight() && !l.showShadow());

    l.setLabelStyle(LabelStyle::Window);
    EXPECT_TRUE(l.bevelStyle() == BevelStyle::Single && l.borderWidth() == 2 &&
                l.verticalAlignment() == VerticalAlignment::Center);
    EXPECT_TRUE(l.backgroundColor() == colors::window && l.textColor() == colors::windowText);
}

// A tiny bitmap face: the font database cannot turn it, so turned directions are refused.
QString BitmapFamily() {
    QByteArray bdf =
        "STARTFONT 2.1\nFONT -misc-ZelBitmap-medium-r-normal--10-100-75-75-c-60-iso10646-1\n"
        "SIZE 10 75 75\nFONTBOUNDINGBOX 6 10 0 -2\nSTARTPROPERTIES 3\nFAMILY_NAME \"ZelBitmap\"\n"
        "FONT_ASCENT 8\nFONT_DESCENT 2\nENDPROPERTIES\nCHARS 1\nSTARTCHAR A\nENCODING 65\n"
        "SWIDTH 600 0\nDWIDTH 6 0\nBBX 6 10 0 -2\nBITMAP\n";
    for (int i = 0; i < 10; ++i) bdf += "78\n";
    bdf += "ENDCHAR\nENDFONT\n";
    static const int id = QFontDatabase::addApplicationFontFromData(bdf);
    return QFontDatabase::applicationFontFamilies(id).value(0);
}

TEST(LinkLabel, TurnedTextNeedsAnOutlineFontExceptWhileLoading) {
    if constexpr (platform::kWindows)
        GTEST_SKIP() << "Qt's Windows font databases cannot make a bitmap face from BDF data";
    const QString bitmap = BitmapFamily();
    ASSERT_FALSE(bitmap.isEmpty());
    ProbeLabel l;
    EXPECT_TRUE(l.hasOutlineFont());
    l.setFont(QFont(bitmap));
    EXPECT_FALSE(l.hasOutlineFont());
    l.setTextDirection(TextDirection::Up);
    EXPECT_EQ(l.textDirection(), TextDirection::Right);

    l.beginLoading();
    l.setTextDirection(TextDirection::Up);
    l.setText("AAAA");
    const QSize before = l.size();
    l.endLoading();
    EXPECT_EQ(l.textDirection(), TextDirection::Up);
    EXPECT_NE(l.size(), before) << "endLoading() computes the size once";
    EXPECT_GT(l.height(), l.width());

    l.setWordWrap(true);  // locked while the text is turned
    EXPECT_FALSE(l.wordWrap());
    l.setTextDirection(TextDirection::Right);  // always accepted
    EXPECT_EQ(l.textDirection(), TextDirection::Right);
    l.setTextColor(colors::red);  // a colour change is a font change: the test runs again
    l.setFont(testing::TestFont());
    EXPECT_TRUE(l.hasOutlineFont());
}

TEST(LinkLabel, ShortenPathDropsLeadingFoldersThenTheDrive) {
    const QFontMetrics fm(testing::TestFont());
    const QString path = "C:\\Program Files\\Train\\Routes\\file.env";
    for (const QString& fit :
         {path, QString("C:\\...\\Train\\Routes\\file.env"), QString("C:\\...\\Routes\\file.env"),
          QString("C:\\...\\file.env"), QString("...\\file.env"), QString("file.env")})
        EXPECT_EQ(ShortenPath(path, fm, fm.horizontalAdvance(fit)), fit);
    EXPECT_EQ(ShortenPath(path, fm, 1), "file.env") << "nothing more to drop";
    EXPECT_EQ(ShortenPath("/home/u/file", fm, fm.horizontalAdvance("/.../file")), "/.../file");

    ProbeLabel l;
    l.setAutoSize(false);
    l.setText(path);
    l.resize(fm.horizontalAdvance("C:\\...\\file.env") + 10, 20);
    EXPECT_EQ(l.displayText(), path);
    l.setShortenFilenames(true);
    EXPECT_EQ(l.displayText(), "C:\\...\\file.env");
}

TEST(LinkLabel, HoverLookAndCursorOnlyForAnEnabledActiveLink) {
    ProbeLabel l;
    int entered = 0, left = 0;
    QObject::connect(&l, &LinkLabel::mouseEntered, [&] { ++entered; });
    QObject::connect(&l, &LinkLabel::mouseLeft, [&] { ++left; });
    Hover(l);
    EXPECT_FALSE(l.isHovered() || l.testAttribute(Qt::WA_SetCursor)) << "inactive link";
    Leave(l);

    l.setCursor(Qt::IBeamCursor);
    l.setLinkActive(true);
    Hover(l);
    EXPECT_TRUE(l.isHovered());
    EXPECT_EQ(l.cursor().hotSpot(), QPoint(7, 1));
    EXPECT_EQ(l.cursor().pixmap().size(), QSize(32, 32));
    l.setLinkActive(false);  // the hover look stays until an accepted leave
    Leave(l);
    EXPECT_TRUE(l.isHovered());
    l.setLinkActive(true);
    Leave(l);
    EXPECT_FALSE(l.isHovered());
    EXPECT_EQ(l.cursor().shape(), Qt::IBeamCursor);

    l.setEnabled(false);
    Hover(l);
    EXPECT_FALSE(l.isHovered());
    EXPECT_EQ(entered, 3);
    EXPECT_EQ(left, 3);
}

TEST(LinkLabel, ClickOpensTheTargetAfterClickedAndLinkAboutToOpen) {
    std::vector<std::string> log;
    const auto previous = platform::SetShellHook([&](const std::string& t) {
        log.push_back("shell " + t);
        return true;
    });
    ProbeLabel l;
    QObject::connect(&l, &LinkLabel::clicked, [&] { log.emplace_back("click"); });
    QObject::connect(&l, &LinkLabel::linkAboutToOpen, [&] { log.emplace_back("execute"); });
    l.setLinkAddress("someone@example.org");
    const std::vector<std::function<void()>> steps = {
        [&] {},  // an inactive link only emits clicked()
        [&] { l.setLinkActive(true), l.setLinkType(LinkType::Email); },
        [&] { l.setLinkType(LinkType::News); },
        [&] { l.setLinkType(LinkType::Web); },
        [&] { l.setLinkType(LinkType::None); },
        [&] {
            l.setLinkType(LinkType::Web), l.setEnabled(false);
        },  // Qt gives a disabled widget no mouse clicks
        [&] { l.setEnabled(true), l.setLinkAddress(""); },
    };
    for (const auto& step : steps) {
        step();
        if (l.isEnabled())
            QTest::mouseClick(&l, Qt::LeftButton, {}, QPoint(2, 2));
        else
            l.click();
    }
    platform::SetShellHook(previous);
    EXPECT_EQ(log, std::vector<std::string>(
                       {"click", "click", "execute", "shell mailto:someone@example.org", "click",
                        "execute", "shell news:someone@example.org", "click", "execute",
                        "shell someone@example.org", "click", "click", "click"}));
}

TEST(LinkLabel, DoubleClickOpensTheTargetOnce) {
    int opened = 0;
    const auto previous =
        platform::SetShellHook([&](const std::string&) { return ++opened, true; });
    QWidget window;
    auto* l = new ProbeLabel(&window);
    l->setLinkActive(true);
    l->setLinkAddress("https://example.org/");
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // Through the window system, so Qt itself turns the second press into a double-click.
    QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, l->geometry().center());
    EXPECT_EQ(opened, 1);
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, l->geometry().center());
    EXPECT_EQ(opened, 2);  // a later single click still opens it
    platform::SetShellHook(previous);
}

TEST(LinkLabel, MnemonicFocusesTheBuddy) {
    QWidget window;
    auto* label = new LinkLabel(&window);
    auto* edit = new QLineEdit(&window);
    auto* other = new QLineEdit(&window);
    label->setText("&Name");
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    EXPECT_FALSE(label->handleMnemonic('n')) << "no buddy";
    label->setBuddy(edit);
    EXPECT_FALSE(label->handleMnemonic('x'));
    QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(edit->hasFocus());

    other->setFocus();
    label->setShowMnemonic(false);
    EXPECT_FALSE(label->handleMnemonic('N'));
    label->setShowMnemonic(true);
    edit->setEnabled(false);
    EXPECT_FALSE(label->handleMnemonic('N')) << "the buddy cannot take the focus";
    edit->setEnabled(true);
    label->setEnabled(false);
    EXPECT_FALSE(label->handleMnemonic('N'));
    label->setEnabled(true);
    EXPECT_TRUE(label->handleMnemonic('n'));
    delete edit;
    EXPECT_EQ(label->buddy(), nullptr);
    EXPECT_FALSE(label->handleMnemonic('N'));
}

}  // namespace
}  // namespace widgets
