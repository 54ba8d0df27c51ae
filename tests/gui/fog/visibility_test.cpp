// The visibility scale: snapping, readouts and the state colours.
#include "core/fog/visibility.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

#include "gui/widgets/qt_color.h"
#include "gui/widgets/track_bar.h"
#include "support/main_window_fixture.h"

namespace {

QColor TextColor(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

}  // namespace

class VisibilityTest : public MainWindowFixture {
  protected:
    void SetUp() override {
        WriteSettings("Nederlands");
        CreateAndShow();
    }
    void Key(Qt::Key key) { QTest::keyClick(visibilityBar(), key); }
    void Press(int x, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(visibilityBar(), button, {}, QPoint(x, 20));
        QTest::mouseRelease(visibilityBar(), button, {}, QPoint(x, 20));
    }
    void Drag(int fromX, int toX) {
        QTest::mousePress(visibilityBar(), Qt::LeftButton, {}, QPoint(fromX, 20));
        QTest::mouseMove(visibilityBar(), QPoint(toX, 20));
        QTest::mouseRelease(visibilityBar(), Qt::LeftButton, {}, QPoint(toX, 20));
    }
    // Eighths of a degree: 120 is one notch, positive is forward.
    void Wheel(int delta) {
        const QPointF at(75, 20);
        QWheelEvent wheel(at, visibilityBar()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(visibilityBar(), &wheel);
    }
    int Position() const { return visibilityBar()->value(); }
    // The bar sits on a level and both readouts show that level.
    void ExpectOnALevel(const std::string& input) const {
        const int index = fog::LevelIndex(Position());
        ASSERT_GE(index, 0) << input << " left the bar at " << Position();
        EXPECT_EQ(visibilityLabel()->text(), QString::number(Position()) + " m") << input;
        EXPECT_EQ(TextColor(fogStateLabel()),
                  widgets::ToQColor(fog::kFogStateColors[std::size_t(index)]))
            << input;
    }
};

TEST_F(VisibilityTest, KeysStepOneLevelAndHomeEndGoToTheEnds) {
    Key(Qt::Key_Right);
    EXPECT_EQ(Position(), 100);
    EXPECT_EQ(visibilityLabel()->text(), "100 m");
    EXPECT_EQ(fogStateLabel()->text(), " Mistig ");
    EXPECT_EQ(TextColor(fogStateLabel()), QColor(189, 250, 5));
    Key(Qt::Key_Up);  // Up steps down, as on Windows
    EXPECT_EQ(Position(), 75);
    Key(Qt::Key_Home);
    EXPECT_EQ(Position(), 25);
    EXPECT_EQ(fogStateLabel()->text(), " Zeer dichte mist ");
    EXPECT_EQ(TextColor(fogStateLabel()), QColor(255, 2, 2));
    Key(Qt::Key_Left);
    EXPECT_EQ(Position(), 25);
    Key(Qt::Key_End);
    EXPECT_EQ(Position(), 125);
    EXPECT_EQ(visibilityLabel()->text(), "125 m");
    EXPECT_EQ(TextColor(fogStateLabel()), QColor(16, 207, 5));
    Key(Qt::Key_Down);
    EXPECT_EQ(Position(), 125);
}

TEST_F(VisibilityTest, PageKeysMoveByTwoAndSnapDown) {
    Key(Qt::Key_PageDown);  // 77 snaps back to 75
    EXPECT_EQ(Position(), 75);
    EXPECT_EQ(visibilityLabel()->text(), "75 m");
    Key(Qt::Key_PageUp);  // 73 snaps to 50
    EXPECT_EQ(Position(), 50);
    EXPECT_EQ(fogStateLabel()->text(), " Dichte mist ");
    EXPECT_EQ(TextColor(fogStateLabel()), QColor(252, 152, 3));
}

TEST_F(VisibilityTest, MousePressMovesTheThumbAndReleaseSnaps) {
    Press(60);
    EXPECT_EQ(Position(), 75);
    Press(15);  // 12.5 rounds to 12 (ties to even), plus 25 = 37, snapped to 25
    EXPECT_EQ(Position(), 25);
    EXPECT_EQ(visibilityLabel()->text(), "25 m");
    Press(140);  // 117 + 25 clamps to 125
    EXPECT_EQ(Position(), 125);
    Press(0);
    EXPECT_EQ(Position(), 25);
    // Another button is followed at once, so the position is always a level.
    Press(90, Qt::RightButton);
    EXPECT_EQ(Position(), 100);
    EXPECT_EQ(fogStateLabel()->text(), " Mistig ");
}

TEST_F(VisibilityTest, DraggingToAnInBetweenPositionSnapsOnRelease) {
    Drag(60, 149);
    EXPECT_EQ(Position(), 125);
    EXPECT_EQ(fogStateLabel()->text(), " Lichte mist ");
    Drag(149, 0);
    EXPECT_EQ(Position(), 25);
    EXPECT_EQ(visibilityLabel()->text(), "25 m");
}

TEST_F(VisibilityTest, WheelStepsOneLevelPerNotchLikeTheUpAndDownKeys) {
    Wheel(-120);  // backward, as Down
    EXPECT_EQ(Position(), 100);
    EXPECT_EQ(visibilityLabel()->text(), "100 m");
    EXPECT_EQ(fogStateLabel()->text(), " Mistig ");
    Wheel(240);  // two notches forward, as Up twice
    EXPECT_EQ(Position(), 50);
    EXPECT_EQ(fogStateLabel()->text(), " Dichte mist ");
    Wheel(60);  // half a notch waits for the other half
    EXPECT_EQ(Position(), 50);
    Wheel(60);
    EXPECT_EQ(Position(), 25);
    EXPECT_EQ(visibilityLabel()->text(), "25 m");
}

TEST_F(VisibilityTest, NoInputLeavesTheBarBetweenLevels) {
    const int width = visibilityBar()->width();
    for (int x = 0; x < width; x += 3) {
        Press(x);
        ExpectOnALevel("press at " + std::to_string(x));
        Drag(x, width - 1 - x);
        ExpectOnALevel("drag from " + std::to_string(x));
    }
    for (int delta : {-120, 120, 15, 40, -300, 360, 119, -7}) {
        Wheel(delta);
        ExpectOnALevel("wheel " + std::to_string(delta));
    }
    for (Qt::Key key : {Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Right, Qt::Key_PageDown,
                        Qt::Key_End, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_PageUp}) {
        Key(key);
        ExpectOnALevel("key " + std::to_string(key));
    }
    // A press whose release the bar never gets (the focus moves on) still ends on a level.
    mainWindow->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow.get()));
    QTest::mousePress(visibilityBar(), Qt::LeftButton, {}, QPoint(15, 20));  // 37 while pressed
    makeButton()->setFocus();
    ExpectOnALevel("press, then focus elsewhere");
    QTest::mouseRelease(visibilityBar(), Qt::LeftButton, {}, QPoint(15, 20));
}

TEST_F(VisibilityTest, ProgramSetValuesRaiseNoEditReport) {
    int reports = 0;
    QObject::connect(visibilityBar(), &widgets::TrackBar::valueEdited, [&] { ++reports; });
    visibilityBar()->setValue(49);
    mainWindow->applyLanguage("Nederlands");  // the display follows the bar and snaps it
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(Position(), 25);
}

TEST_F(VisibilityTest, StateCaptionFollowsTheLanguageAndKeepsTheLevel) {
    Key(Qt::Key_Right);
    prog.WritePack("English", testsupport::PackText("English", "ZEL Nevora",
                                                    "[Toestanden]\r\nToestand3=Hazy\r\n"));
    mainWindow->applyLanguage("English");
    EXPECT_EQ(Position(), 100);
    EXPECT_EQ(fogStateLabel()->text(), " Hazy ");
    // Missing state texts give two blanks; the colour still follows the level.
    Key(Qt::Key_Left);
    EXPECT_EQ(fogStateLabel()->text(), "  ");
    EXPECT_EQ(TextColor(fogStateLabel()), QColor(250, 243, 5));
}
