#include "widgets/LinkLabel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "platform/shell.h"
#include "widgets/linklabel_testing.h"

namespace widgets {
namespace {

using namespace widgets::testing;

TEST(LinkLabel, DefaultsAfterConstruction) {
    LinkLabel l;
    EXPECT_EQ(l.size(), QSize(65, 17));
    EXPECT_FALSE(l.testAttribute(Qt::WA_NativeWindow));
    EXPECT_TRUE(l.AutoSize() && l.ShowAccelChar() && l.UnderlineOnEnter());
    EXPECT_FALSE(l.LinkActive() || l.ShortenFilenames() || l.ShowHighlight() || l.ShowShadow() ||
                 l.Transparent() || l.WordWrap() || l.MouseInside() || l.FocusControl());
    EXPECT_EQ(std::vector<int>({l.Alignment(), l.BevelStyle(), l.BevelWidth(), l.BorderWidth(), l.Direction(),
                                l.HighlightOffset(), l.HighlightPos(), l.Layout(), l.LinkType(),
                                l.ShadowOffset(), l.Style()}),
              std::vector<int>({taLeftJustify, bvNone, 1, 0, tdRight, 1, hpTopLeft, tlTop, ltWWW, 1, lsCustom}));
    EXPECT_EQ(std::vector<TColor>({l.Color(), l.HighlightColor(), l.HoverColor(), l.HoverFontColor(),
                                   l.ShadowColor()}),
              std::vector<TColor>({clBtnFace, clBtnHighlight, clBtnFace, l.FontColor(), clBtnShadow}));
    EXPECT_FALSE(l.LinkedAdress().isEmpty());
}

TEST(LinkLabel, SetterEffects) {
    struct Case {
        const char* name;
        std::function<void(LinkLabel&)> set;
        bool custom, repaint, size;
    };
    const std::vector<Case> cases = {
        {"Alignment", [](LinkLabel& l) { l.SetAlignment(taCenter); }, false, true, false},
        {"BevelStyle", [](LinkLabel& l) { l.SetBevelStyle(bvRaised); }, true, true, false},
        {"BevelWidth", [](LinkLabel& l) { l.SetBevelWidth(3); }, true, true, true},
        {"BorderWidth", [](LinkLabel& l) { l.SetBorderWidth(2); }, false, true, true},
        {"Color", [](LinkLabel& l) { l.SetColor(clRed); }, true, true, false},
        {"Direction", [](LinkLabel& l) { l.SetDirection(tdUp); }, false, true, true},
        {"HighlightColor", [](LinkLabel& l) { l.SetHighlightColor(clRed); }, true, false, false},
        {"HighlightOffset", [](LinkLabel& l) { l.SetHighlightOffset(3); }, true, false, false},
        {"HighlightPos", [](LinkLabel& l) { l.SetHighlightPos(hpTopRight); }, true, true, false},
        {"HoverColor", [](LinkLabel& l) { l.SetHoverColor(clRed); }, true, false, false},
        {"HoverFontColor", [](LinkLabel& l) { l.SetHoverFontColor(clRed); }, true, false, false},
        {"Layout", [](LinkLabel& l) { l.SetLayout(tlBottom); }, true, true, false},
        {"LinkActive", [](LinkLabel& l) { l.SetLinkActive(true); }, false, false, false},
        {"LinkedAdress", [](LinkLabel& l) { l.SetLinkedAdress("x"); }, false, false, false},
        {"LinkType", [](LinkLabel& l) { l.SetLinkType(ltNews); }, false, false, false},
        {"ShadowColor", [](LinkLabel& l) { l.SetShadowColor(clRed); }, true, true, false},
        {"ShadowOffset", [](LinkLabel& l) { l.SetShadowOffset(3); }, true, false, false},
        {"ShortenFilenames", [](LinkLabel& l) { l.SetShortenFilenames(false); }, true, true, false},
        {"ShowAccelChar", [](LinkLabel& l) { l.SetShowAccelChar(true); }, true, true, true},
        {"ShowHighlight", [](LinkLabel& l) { l.SetShowHighlight(true); }, true, true, true},
        {"ShowShadow", [](LinkLabel& l) { l.SetShowShadow(true); }, true, true, true},
        {"Transparent", [](LinkLabel& l) { l.SetTransparent(true); }, true, true, false},
        {"UnderlineOnEnter", [](LinkLabel& l) { l.SetUnderlineOnEnter(false); }, true, false, false},
        {"WordWrap", [](LinkLabel& l) { l.SetWordWrap(true); }, false, true, true},
        {"Style", [](LinkLabel& l) { l.SetStyle(lsCustom); }, true, true, true},
    };
    for (const Case& c : cases) {
        ProbeLabel l;
        l.SetCaption("C:\\data\\file.txt");
        l.SetStyle(lsPath);
        l.resize(1, 1);
        l.invalidations = 0;
        c.set(l);
        EXPECT_EQ(l.Style() == lsCustom, c.custom) << c.name;
        EXPECT_EQ(l.invalidations > 0, c.repaint) << c.name;
        EXPECT_EQ(l.size() != QSize(1, 1), c.size) << c.name;

        // Setting the same value again changes nothing.
        const TLabelStyle style = l.Style();
        l.resize(1, 1);
        l.invalidations = 0;
        c.set(l);
        EXPECT_EQ(l.Style(), style) << c.name;
        EXPECT_EQ(l.invalidations, 0) << c.name;
        EXPECT_EQ(l.size(), QSize(1, 1)) << c.name;
    }
}

TEST(LinkLabel, OffsetsResizeWhileShownHoverSettersRepaintWhileInsideAndAutoSizeOffKeepsTheSize) {
    ProbeLabel l;
    l.SetShowHighlight(true);
    l.SetShowShadow(true);
    const QSize base = l.size();
    l.SetHighlightOffset(3);
    l.SetShadowOffset(2);
    EXPECT_EQ(l.size(), base + QSize(3, 3));
    l.SetLinkActive(true);
    Hover(l);
    l.invalidations = 0;
    l.SetHoverColor(clRed);
    l.SetHoverFontColor(clLime);
    l.SetUnderlineOnEnter(false);
    EXPECT_EQ(l.invalidations, 3);

    l.SetAutoSize(false);
    l.resize(200, 40);
    l.SetCaption("a much longer caption than before");
    EXPECT_EQ(l.size(), QSize(200, 40));
    l.SetAutoSize(true);
    EXPECT_NE(l.size(), QSize(200, 40));
}

TEST(LinkLabel, StylePresets) {
    ProbeLabel l;
    l.SetColor(clYellow);
    l.SetBevelStyle(bvRaised);
    l.SetStyle(lsLink);
    EXPECT_EQ(std::vector<TColor>({l.FontColor(), l.HoverFontColor(), l.HoverColor(), l.Color()}),
              std::vector<TColor>({clNavy, clBlue, clYellow, clYellow}));
    EXPECT_TRUE(l.BevelStyle() == bvNone && l.LinkActive() && !l.ShowAccelChar());
    l.SetHighlightColor(clRed);  // custom now, without writing any preset
    EXPECT_TRUE(l.Style() == lsCustom && l.LinkActive() && l.FontColor() == clNavy);

    l.SetStyle(ls3DText);
    EXPECT_TRUE(l.ShowHighlight() && l.ShowShadow() && !l.LinkActive());
    EXPECT_TRUE(l.HighlightColor() == clBtnHighlight && l.Color() == clBtnFace);
    l.SetShadowColor(clRed);
    EXPECT_TRUE(l.Style() == lsCustom && l.ShowHighlight() && l.ShowShadow());

    l.SetBevelStyle(bvLowered);
    l.SetStyle(lsPath);  // keeps the bevel
    EXPECT_TRUE(l.BevelStyle() == bvLowered && l.ShortenFilenames() && !l.ShowHighlight() && !l.ShowShadow());

    l.SetStyle(lsWindow);
    EXPECT_TRUE(l.BevelStyle() == bvSingle && l.BorderWidth() == 2 && l.Layout() == tlCenter);
    EXPECT_TRUE(l.Color() == clWindow && l.FontColor() == clWindowText);
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
#ifdef _WIN32
    GTEST_SKIP() << "Qt's Windows font databases cannot make a bitmap face from BDF data";
#endif
    const QString bitmap = BitmapFamily();
    ASSERT_FALSE(bitmap.isEmpty());
    ProbeLabel l;
    EXPECT_TRUE(l.TrueTypeFont());
    l.setFont(QFont(bitmap));
    EXPECT_FALSE(l.TrueTypeFont());
    l.SetDirection(tdUp);
    EXPECT_EQ(l.Direction(), tdRight);

    l.BeginLoading();
    l.SetDirection(tdUp);
    l.SetCaption("AAAA");
    const QSize before = l.size();
    l.Loaded();
    EXPECT_EQ(l.Direction(), tdUp);
    EXPECT_NE(l.size(), before) << "Loaded() computes the size once";
    EXPECT_GT(l.height(), l.width());

    l.SetWordWrap(true);  // locked while the text is turned
    EXPECT_FALSE(l.WordWrap());
    l.SetDirection(tdRight);  // always accepted
    EXPECT_EQ(l.Direction(), tdRight);
    l.SetFontColor(clRed);  // a colour change is a font change: the test runs again
    l.setFont(testing::TestFont());
    EXPECT_TRUE(l.TrueTypeFont());
}

TEST(LinkLabel, MinimizeNameDropsLeadingFoldersThenTheDrive) {
    const QFontMetrics fm(testing::TestFont());
    const QString path = "C:\\Program Files\\Train\\Routes\\file.env";
    for (const QString& fit : {path, QString("C:\\...\\Train\\Routes\\file.env"), QString("C:\\...\\Routes\\file.env"),
                               QString("C:\\...\\file.env"), QString("...\\file.env"), QString("file.env")})
        EXPECT_EQ(MinimizeName(path, fm, fm.horizontalAdvance(fit)), fit);
    EXPECT_EQ(MinimizeName(path, fm, 1), "file.env") << "nothing more to drop";
    EXPECT_EQ(MinimizeName("/home/u/file", fm, fm.horizontalAdvance("/.../file")), "/.../file");

    ProbeLabel l;
    l.SetAutoSize(false);
    l.SetCaption(path);
    l.resize(fm.horizontalAdvance("C:\\...\\file.env") + 10, 20);
    EXPECT_EQ(l.GetLabelText(), path);
    l.SetShortenFilenames(true);
    EXPECT_EQ(l.GetLabelText(), "C:\\...\\file.env");
}

TEST(LinkLabel, HoverLookAndCursorOnlyForAnEnabledActiveLink) {
    ProbeLabel l;
    int entered = 0, left = 0;
    l.OnMouseEnter = [&](QObject* s) { entered += s == &l; };
    l.OnMouseExit = [&](QObject* s) { left += s == &l; };
    Hover(l);
    EXPECT_FALSE(l.MouseInside() || l.testAttribute(Qt::WA_SetCursor)) << "inactive link";
    Leave(l);

    l.setCursor(Qt::IBeamCursor);
    l.SetLinkActive(true);
    Hover(l);
    EXPECT_TRUE(l.MouseInside());
    EXPECT_EQ(l.cursor().hotSpot(), QPoint(7, 1));
    EXPECT_EQ(l.cursor().pixmap().size(), QSize(32, 32));
    l.SetLinkActive(false);  // the hover look stays until an accepted leave
    Leave(l);
    EXPECT_TRUE(l.MouseInside());
    l.SetLinkActive(true);
    Leave(l);
    EXPECT_FALSE(l.MouseInside());
    EXPECT_EQ(l.cursor().shape(), Qt::IBeamCursor);

    l.setEnabled(false);
    Hover(l);
    EXPECT_FALSE(l.MouseInside());
    EXPECT_EQ(entered, 3);
    EXPECT_EQ(left, 3);
}

TEST(LinkLabel, ClickOpensTheTargetAfterOnClickAndOnExecuteLink) {
    std::vector<std::string> log;
    const auto previous = platform::SetShellHook([&](const std::string& t) {
        log.push_back("shell " + t);
        return true;
    });
    ProbeLabel l;
    l.OnClick = [&](QObject* s) { log.push_back(s == &l ? "click" : "?"); };
    l.OnExecuteLink = [&](QObject*) { log.push_back("execute"); };
    l.SetLinkedAdress("someone@example.org");
    const std::vector<std::function<void()>> steps = {
        [&] {},  // an inactive link only calls OnClick
        [&] { l.SetLinkActive(true), l.SetLinkType(ltEMail); },
        [&] { l.SetLinkType(ltNews); },
        [&] { l.SetLinkType(ltWWW); },
        [&] { l.SetLinkType(ltNone); },
        [&] { l.SetLinkType(ltWWW), l.setEnabled(false); },  // Qt gives a disabled widget no mouse clicks
        [&] { l.setEnabled(true), l.SetLinkedAdress(""); },
    };
    for (const auto& step : steps) {
        step();
        if (l.isEnabled())
            QTest::mouseClick(&l, Qt::LeftButton, {}, QPoint(2, 2));
        else
            l.Click();
    }
    platform::SetShellHook(previous);
    EXPECT_EQ(log, std::vector<std::string>({"click", "click", "execute", "shell mailto:someone@example.org", "click",
                                             "execute", "shell news:someone@example.org", "click", "execute",
                                             "shell someone@example.org", "click", "click", "click"}));
}

TEST(LinkLabel, DoubleClickOpensTheTargetOnce) {
    int opened = 0;
    const auto previous = platform::SetShellHook([&](const std::string&) { return ++opened, true; });
    QWidget window;
    auto* l = new ProbeLabel(&window);
    l->SetLinkActive(true);
    l->SetLinkedAdress("https://example.org/");
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // Through the window system, so Qt itself turns the second press into a double-click.
    QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, l->geometry().center());
    EXPECT_EQ(opened, 1);
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, l->geometry().center());
    EXPECT_EQ(opened, 2);  // a later single click still opens it
    platform::SetShellHook(previous);
}

TEST(LinkLabel, AcceleratorFocusesTheFocusControl) {
    QWidget window;
    auto* label = new LinkLabel(&window);
    auto* edit = new QLineEdit(&window);
    auto* other = new QLineEdit(&window);
    label->SetCaption("&Name");
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    EXPECT_FALSE(label->DialogChar('n')) << "no FocusControl";
    label->SetFocusControl(edit);
    EXPECT_FALSE(label->DialogChar('x'));
    QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(edit->hasFocus());

    other->setFocus();
    label->SetShowAccelChar(false);
    EXPECT_FALSE(label->DialogChar('N'));
    label->SetShowAccelChar(true);
    edit->setEnabled(false);
    EXPECT_FALSE(label->DialogChar('N')) << "FocusControl cannot take the focus";
    edit->setEnabled(true);
    label->setEnabled(false);
    EXPECT_FALSE(label->DialogChar('N'));
    label->setEnabled(true);
    EXPECT_TRUE(label->DialogChar('n'));
    delete edit;
    EXPECT_EQ(label->FocusControl(), nullptr);
    EXPECT_FALSE(label->DialogChar('N'));
}

}  // namespace
}  // namespace widgets
