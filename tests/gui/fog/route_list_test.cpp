// The route list: folders under Routes, rebuilt on every activation.
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "core/platform/files.h"
#include "gui/widgets/program_window.h"
#include "support/main_window_fixture.h"

namespace fs = std::filesystem;

namespace {

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

}  // namespace

TEST_F(MainWindowFixture, ListsRouteFoldersOnlyInListingOrder) {
    fs::create_directories(sim.routes() / "zeta");
    fs::create_directories(sim.routes() / "Alpha");
    fs::create_directories(sim.routes() / "beta");
    fs::create_directories(sim.routes() / ".hidden");
    testsupport::WriteFile(sim.routes() / "readme.txt", "not a route");
    fs::create_directories(sim.routes() / "locked");
    ASSERT_TRUE(platform::SetReadOnly((sim.routes() / "locked").string(), true));
    WriteSettings("Nederlands");
    CreateAndShow();
    // Case-insensitive order, hidden folders and plain files left out, read-only folders listed.
    EXPECT_EQ(Items(routeBox()), (QStringList{"Alpha", "beta", "locked", "zeta"}));
    EXPECT_EQ(routeBox()->currentText(), "Geen route geselecteerd");
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(MainWindowFixture, MissingRoutesFolderGivesAnEmptyListAndNoMessage) {
    prog.WriteSettings("[Programma]\r\nTaalkeuze=Nederlands\r\n[msts locatie]\r\nPad=" +
                       sim.root().string() + "/nowhere\r\n");
    CreateAndShow();
    EXPECT_EQ(routeBox()->count(), 0);
    EXPECT_EQ(routeBox()->currentText(), "Geen route geselecteerd");
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(MainWindowFixture, EveryActivationRebuildsTheListAndDropsTheChoice) {
    fs::create_directories(sim.routes() / "Alpha");
    fs::create_directories(sim.routes() / "Beta");
    WriteSettings("Nederlands");
    CreateAndShow();
    routeBox()->setCurrentIndex(1);
    ASSERT_EQ(routeBox()->currentText(), "Beta");
    fs::create_directories(sim.routes() / "Gamma");
    mainWindow->onActivated();
    EXPECT_EQ(Items(routeBox()), (QStringList{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(routeBox()->currentText(), "Geen route geselecteerd");
    // A language change also puts the placeholder back.
    routeBox()->setCurrentIndex(0);
    mainWindow->applyLanguage("Nederlands");
    EXPECT_EQ(routeBox()->currentText(), "Geen route geselecteerd");
}

TEST_F(MainWindowFixture, ReturningFromAnotherProgramWindowRefillsTheList) {
    fs::create_directories(sim.routes() / "Alpha");
    WriteSettings("Nederlands");
    CreateAndShow();
    mainWindow->startActivationTracking();
    mainWindow->activateWindow();
    testsupport::ProcessEvents();
    routeBox()->setCurrentIndex(0);
    ASSERT_EQ(routeBox()->currentText(), "Alpha");

    QWidget other;  // stands for the About window: a window of the program
    widgets::MarkAsProgramWindow(other);
    other.show();
    other.activateWindow();
    testsupport::ProcessEvents();
    mainWindow->activateWindow();
    testsupport::ProcessEvents();
    EXPECT_EQ(routeBox()->currentText(), "Geen route geselecteerd");

    // A window that is not one of the program's (a message box, a menu) does not count.
    routeBox()->setCurrentIndex(0);
    QWidget box;
    box.show();
    box.activateWindow();
    testsupport::ProcessEvents();
    mainWindow->activateWindow();
    testsupport::ProcessEvents();
    EXPECT_EQ(routeBox()->currentText(), "Alpha");
}

TEST_F(MainWindowFixture, ErasingTheRouteTextPutsThePlaceholderBack) {
    fs::create_directories(sim.routes() / "Alpha");
    WriteSettings("Nederlands");
    CreateAndShow();
    QLineEdit* edit = routeBox()->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(routeBox()->currentText(), "Geen route geselecteerd");
    // A typed name that is no route stays as typed, and is not added to the list.
    edit->selectAll();
    QTest::keyClicks(edit, "Elders");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(routeBox()->currentText(), "Elders");
    EXPECT_EQ(routeBox()->count(), 1);
}
