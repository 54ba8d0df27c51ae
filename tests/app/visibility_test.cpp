// The visibility scale: snapping, readouts and the state colours.
#include <QLabel>
#include <QTest>

#include "app/app_fixture.h"
#include "widgets/TTrackBar.h"

namespace {

QColor TextColor(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

}  // namespace

class VisibilityTest : public MainWindowFixture {
protected:
    void SetUp() override {
        WriteSettings("Nederlands");
        CreateAndShow();
    }
    void Key(Qt::Key key) { QTest::keyClick(form->TrackBar1, key); }
    void Press(int x, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(form->TrackBar1, button, {}, QPoint(x, 20));
        QTest::mouseRelease(form->TrackBar1, button, {}, QPoint(x, 20));
    }
    int Position() const { return form->TrackBar1->Position(); }
};

TEST_F(VisibilityTest, KeysStepOneLevelAndHomeEndGoToTheEnds) {
    Key(Qt::Key_Right);
    EXPECT_EQ(Position(), 100);
    EXPECT_EQ(form->zichtlabel->text(), "100 m");
    EXPECT_EQ(form->toestandlabel->text(), " Mistig ");
    EXPECT_EQ(TextColor(form->toestandlabel), QColor(189, 250, 5));
    Key(Qt::Key_Up);  // Up steps down, as on Windows
    EXPECT_EQ(Position(), 75);
    Key(Qt::Key_Home);
    EXPECT_EQ(Position(), 25);
    EXPECT_EQ(form->toestandlabel->text(), " Zeer dichte mist ");
    EXPECT_EQ(TextColor(form->toestandlabel), QColor(255, 2, 2));
    Key(Qt::Key_Left);
    EXPECT_EQ(Position(), 25);
    Key(Qt::Key_End);
    EXPECT_EQ(Position(), 125);
    EXPECT_EQ(form->zichtlabel->text(), "125 m");
    EXPECT_EQ(TextColor(form->toestandlabel), QColor(16, 207, 5));
    Key(Qt::Key_Down);
    EXPECT_EQ(Position(), 125);
}

TEST_F(VisibilityTest, PageKeysMoveByTwoAndSnapDown) {
    Key(Qt::Key_PageDown);  // 77 snaps back to 75
    EXPECT_EQ(Position(), 75);
    EXPECT_EQ(form->zichtlabel->text(), "75 m");
    Key(Qt::Key_PageUp);  // 73 snaps to 50
    EXPECT_EQ(Position(), 50);
    EXPECT_EQ(form->toestandlabel->text(), " Dichte mist ");
    EXPECT_EQ(TextColor(form->toestandlabel), QColor(252, 152, 3));
}

TEST_F(VisibilityTest, MousePressMovesTheThumbAndReleaseSnaps) {
    Press(60);
    EXPECT_EQ(Position(), 75);
    Press(15);  // 12.5 rounds to 12 (ties to even), plus 25 = 37, snapped to 25
    EXPECT_EQ(Position(), 25);
    EXPECT_EQ(form->zichtlabel->text(), "25 m");
    Press(140);  // 117 + 25 clamps to 125
    EXPECT_EQ(Position(), 125);
    Press(0);
    EXPECT_EQ(Position(), 25);
    // Another button is followed at once, so the position is always a level.
    Press(90, Qt::RightButton);
    EXPECT_EQ(Position(), 100);
    EXPECT_EQ(form->toestandlabel->text(), " Mistig ");
}

TEST_F(VisibilityTest, DraggingToAnInBetweenPositionSnapsOnRelease) {
    form->TrackBar1->SetPosition(99);  // where a drag left the thumb
    emit form->TrackBar1->Changed();
    EXPECT_EQ(Position(), 75);
    EXPECT_EQ(form->toestandlabel->text(), " Mist ");
    EXPECT_EQ(TextColor(form->toestandlabel), QColor(250, 243, 5));
}

TEST_F(VisibilityTest, ProgramSetPositionsRaiseNoChangeReport) {
    int reports = 0;
    QObject::connect(form->TrackBar1, &widgets::TTrackBar::Changed, [&] { ++reports; });
    form->TrackBar1->SetPosition(49);
    form->UpdateVisibilityDisplay(form->FogStateDisplayTexts());
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(Position(), 25);
}

TEST_F(VisibilityTest, StateCaptionFollowsTheLanguageAndKeepsTheLevel) {
    Key(Qt::Key_Right);
    prog.WritePack("English", testsupport::PackText("English", "ZEL Nevora",
                                                    "[Toestanden]\r\nToestand3=Hazy\r\n"));
    form->ApplyLanguage("English");
    EXPECT_EQ(Position(), 100);
    EXPECT_EQ(form->toestandlabel->text(), " Hazy ");
    // Missing state texts give two blanks; the colour still follows the level.
    Key(Qt::Key_Left);
    EXPECT_EQ(form->toestandlabel->text(), "  ");
    EXPECT_EQ(TextColor(form->toestandlabel), QColor(250, 243, 5));
}
