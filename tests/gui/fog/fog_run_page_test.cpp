// The fog run through the real main window: controls, message boxes and the files on disk.
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleHints>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <chrono>
#include <optional>
#include <thread>

#include "core/platform/files.h"
#include "gui/fog/run_progress.h"
#include "gui/mainwindow/main_window.h"
#include "gui/widgets/track_bar.h"
#include "support/activity_reader.h"
#include "support/fog_fixtures.h"
#include "support/main_window_fixture.h"

using namespace testsupport;

namespace {
const char kNoClose[] =
    "Het programma kan niet worden afgesloten voordat de bestanden weer zijn herstelt.";
}

class FogWindowTest : public MainWindowFixture {
  protected:
    void SetUp() override {
        WriteFogData(prog);
        WriteSettings("Nederlands");
    }
    void Make(const QString& route, const char* weather = "sunButton") {
        control<QRadioButton>(weather)->setChecked(true);
        routeBox()->setEditText(route);
        makeButton()->click();
    }
    bool OnCompletionPage() const {
        const bool completion = control<QWidget>("choosingPage")->isHidden();
        EXPECT_EQ(fogRunPage().filesReplaced(), completion);
        EXPECT_EQ(control<QAction>("exitAction")->isEnabled(), !completion);
        EXPECT_EQ(control<QMenu>("optionsMenu")->menuAction()->isVisible(), !completion);
        EXPECT_EQ(bool(mainWindow->windowFlags() & Qt::WindowCloseButtonHint), !completion);
        return completion;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& m : messages.messages()) texts.push_back(m.text);
        return texts;
    }
};

TEST_F(FogWindowTest, RainRunShowsSummaryRefusesCloseAndRestoresEverything) {
    sim.AddEnvFile("R", "rain.env");
    WriteFile(sim.envfiles("R") / "Textures" / "ZEL_snowsky.ace", "own sky");
    const Snapshot before = TakeSnapshot(sim.routes());
    CreateAndShow();
    QTest::keyClick(visibilityBar(), Qt::Key_Left);  // 50 m
    Make("R", "rainButton");

    ASSERT_TRUE(OnCompletionPage());
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(ReadFile(sim.envfiles("R") / "rain.env"), "fog rain50.env\n");
    EXPECT_EQ(ReadFile(sim.envfiles("R") / "Textures" / "ZEL_snowsky.ace"), "own sky");
    EXPECT_TRUE(fs::exists(sim.envfiles("R") / "Textures" / "ZEL_snowskylo.ace"));

    const QStringList lines = summaryView()->toPlainText().split('\n');
    const QString h(33, '-');
    EXPECT_EQ(lines, (QStringList{"Informatie van uw instellingen:", "", h, "Route:", "R", h,
                                  "Het weer:", "Regen (Rain)", h, "Zicht in meters:", "50 m", h,
                                  "Mist toestand:", " Dichte mist ", h}));
    const QColor maroon(128, 0, 0), blue(0, 0, 255), grey(128, 128, 128);
    const QColor colours[] = {maroon, maroon, blue, blue, grey, blue, blue, grey,
                              blue,   blue,   grey, blue, blue, grey, blue};
    int i = 0;
    for (QTextBlock b = summaryView()->document()->begin(); b.isValid(); b = b.next(), ++i) {
        if (b.text().isEmpty()) continue;
        const QTextCharFormat f = b.begin().fragment().charFormat();
        EXPECT_EQ(f.foreground().color(), colours[i]) << i;
        EXPECT_TRUE(f.fontUnderline() && f.fontWeight() == QFont::Bold) << i;
        EXPECT_EQ(b.blockFormat().alignment() & Qt::AlignHCenter, Qt::AlignHCenter) << i;
    }

    EXPECT_FALSE(mainWindow->close());
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, kNoClose);
    EXPECT_EQ(messages.messages()[0].title, "Fout bij afsluiten");

    restoreButton()->click();
    EXPECT_FALSE(OnCompletionPage());
    EXPECT_TRUE(summaryView()->toPlainText().isEmpty());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
    EXPECT_TRUE(mainWindow->close());
}

TEST_F(FogWindowTest, EachWeatherFillsItsSlotsAndRunsAgainAfterRestore) {
    for (const char* name :
         {"a_clear.env", "b_clear.env", "RAIN.ENV", "x_snow.env", "y_snow.env"}) {
        sim.AddEnvFile("R", name);
    }
    const Snapshot before = TakeSnapshot(sim.routes());
    CreateAndShow();
    struct Case {
        const char* weather;
        std::vector<std::string> files;
        bool multi;
    };
    for (const Case& c : {Case{"sunButton", {"a_clear.env", "b_clear.env"}, true},
                          Case{"rainButton", {"RAIN.ENV"}, false},
                          Case{"snowButton", {"x_snow.env", "y_snow.env"}, true}}) {
        Make("R", c.weather);
        ASSERT_TRUE(fogRunPage().currentRun());
        EXPECT_EQ(fogRunPage().currentRun()->files, c.files);
        EXPECT_EQ(fogRunPage().currentRun()->multiFileMode, c.multi);
        ASSERT_TRUE(OnCompletionPage());
        restoreButton()->click();
        EXPECT_EQ(TakeSnapshot(sim.routes()), before);
    }
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(FogWindowTest, RefusedRunsShowOneBoxAndTouchNothing) {
    sim.AddEnvFile("R", "rain.env");
    WriteFile(sim.root() / "Envfiles" / "sun.env", "outside the routes");
    fs::create_directories(sim.routes() / "NoEnv");
    CreateAndShow();
    const Snapshot tree = TakeSnapshot(sim.root()), dump = TakeSnapshot(prog.dump());
    const struct {
        QString route;
        const char* message;
    } cases[] = {
        {"Geen route geselecteerd", "Er is nog geen route geselecteerd!"},
        {"", "Er is nog geen route geselecteerd!"},
        {"..",
         "De opgegeven route is niet gevonden. Mogelijk bestaat de route niet meer of is "
         "beschadigd."},
        {"../Routes/R",
         "De opgegeven route is niet gevonden. Mogelijk bestaat de route niet meer of is "
         "beschadigd."},
        {"NoEnv",
         "De opgegeven route is niet gevonden. Mogelijk bestaat de route niet meer of is "
         "beschadigd."},
        {"R", "Deze route kan niet in de mist bereden worden."},  // sunButton: no file
    };
    for (const auto& c : cases) {
        messages.clear();
        Make(c.route);
        EXPECT_EQ(Texts(), std::vector<std::string>{c.message}) << c.route.toStdString();
        EXPECT_FALSE(OnCompletionPage());
        EXPECT_TRUE(summaryView()->toPlainText().isEmpty());
    }
    EXPECT_EQ(TakeSnapshot(sim.root()), tree);
    EXPECT_EQ(TakeSnapshot(prog.dump()), dump);
    EXPECT_TRUE(mainWindow->close());
}

TEST_F(FogWindowTest, FailedBackupStaysOnTheChoosingPage) {
    sim.AddEnvFile("R", "rain.env");
    const Snapshot before = TakeSnapshot(sim.routes());
    fs::remove_all(prog.dump() / "Back_up");
    CreateAndShow();
    Make("R", "rainButton");
    EXPECT_EQ(Texts(),
              std::vector<std::string>{fogRunPage().texts().text(settings::Text::BackupFailed)});
    EXPECT_NE(fogRunPage().texts().text(settings::Text::BackupFailed), "");
    EXPECT_FALSE(OnCompletionPage());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
}

TEST_F(FogWindowTest, RestoreNamesTheFilesItCouldNotPutBack) {
    sim.AddEnvFile("R", "a_rain.env");
    sim.AddEnvFile("R", "b%d_rain.env");  // a '%' in a name is no format
    CreateAndShow();
    Make("R", "rainButton");
    ASSERT_TRUE(OnCompletionPage());
    const std::string folder = (sim.envfiles("R") / "").string();

    platform::SetReadOnly((sim.envfiles("R") / "a_rain.env").string(), true);
    fs::remove(prog.dump() / "Back_up" / "R" / "b%d_rain.env");
    restoreButton()->click();
    EXPECT_EQ(Texts(),
              std::vector<std::string>{fogRunPage().texts().text(settings::Text::RestoreFailed) +
                                       "\n" + folder + "a_rain.env\n" + folder + "b%d_rain.env"});
    EXPECT_TRUE(OnCompletionPage());  // a_rain.env's backup is there: try again

    // Without its backup b%d_rain.env cannot come back now: named again, and the player may
    // close the program, but the run stays recorded for a later start.
    messages.clear();
    platform::SetReadOnly((sim.envfiles("R") / "a_rain.env").string(), false);
    restoreButton()->click();
    EXPECT_EQ(Texts(),
              std::vector<std::string>{fogRunPage().texts().text(settings::Text::RestoreFailed) +
                                       "\n" + folder + "b%d_rain.env"});
    EXPECT_FALSE(OnCompletionPage());
    EXPECT_EQ(ReadFile(sim.envfiles("R") / "a_rain.env"), "original R/a_rain.env\n");
    EXPECT_TRUE(mainWindow->close());

    WriteFile(prog.dump() / "Back_up" / "R" / "b%d_rain.env", "original R/b%d_rain.env\n");
    messages.clear();
    CreateAndShow();
    EXPECT_TRUE(mainWindow->openUnrestoredRun());
    restoreButton()->click();
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_FALSE(OnCompletionPage());
    EXPECT_EQ(ReadFile(sim.envfiles("R") / "b%d_rain.env"), "original R/b%d_rain.env\n");
    EXPECT_FALSE(fs::exists(prog.dump() / "Herstel.ini"));
}

TEST_F(FogWindowTest, RouteAlreadyInFogIsRefusedWithItsBox) {
    sim.AddEnvFile("R", "rain.env", ReadFile(prog.dump() / "rain" / "rain25.env"));
    CreateAndShow();
    const Snapshot tree = TakeSnapshot(sim.root());
    Make("R", "rainButton");
    EXPECT_EQ(Texts(),
              std::vector<std::string>{fogRunPage().texts().text(settings::Text::AlreadyFogged) +
                                       "\n" + (sim.envfiles("R") / "rain.env").string()});
    EXPECT_NE(fogRunPage().texts().text(settings::Text::AlreadyFogged), "");
    EXPECT_FALSE(OnCompletionPage());
    EXPECT_EQ(TakeSnapshot(sim.root()), tree);
    EXPECT_FALSE(fs::exists(prog.dump() / "Back_up" / "R"));
    EXPECT_FALSE(fs::exists(prog.dump() / "Herstel.ini"));
}

TEST_F(FogWindowTest, RouteWhoseRecordWasSetAsideIsPutBackFromItsBackupsOnYesOnly) {
    sim.AddEnvFile("R%s", "rain.env");
    sim.AddTexturesFolder("R%s");
    const Snapshot before = TakeSnapshot(sim.routes());
    CreateAndShow();
    Make("R%s", "rainButton");
    ASSERT_TRUE(OnCompletionPage());
    mainWindow.reset();  // ended by force, and its record damaged since
    WriteFile(prog.dump() / "Herstel.ini", "[Herstel]\r\nRoute=R%s\r\nWeer=");
    CreateAndShow();
    EXPECT_FALSE(mainWindow->openUnrestoredRun());  // as at start: set aside, with its box
    const Snapshot fogged = TakeSnapshot(sim.routes());
    const std::string question = fogRunPage().texts().text(settings::Text::AlreadyFoggedPutBack) +
                                 "\n" + (sim.envfiles("R%s") / "rain.env").string();
    for (const bool yes : {false, true}) {
        messages.clear();
        messages.answerQuestions(yes);
        Make("R%s", "rainButton");
        ASSERT_EQ(messages.messages().size(), 1u);
        EXPECT_EQ(messages.messages()[0].icon, platform::MessageIcon::Question);
        EXPECT_EQ(messages.messages()[0].text, question);
        EXPECT_EQ(TakeSnapshot(sim.routes()), yes ? before : fogged);
        EXPECT_FALSE(OnCompletionPage());
        EXPECT_FALSE(fs::exists(prog.dump() / "Herstel.ini"));
    }
    EXPECT_NE(fogRunPage().texts().text(settings::Text::AlreadyFoggedPutBack), "");
    EXPECT_TRUE(mainWindow->close());
}

TEST_F(FogWindowTest, RunLeftByAKilledSessionReopensOnTheCompletionPage) {
    sim.AddEnvFile("R", "snow.env");
    sim.AddEnvFile("S", "rain.env");
    sim.AddTexturesFolder("R");
    const Snapshot before = TakeSnapshot(sim.routes());
    CreateAndShow();
    QTest::keyClick(visibilityBar(), Qt::Key_End);  // 125 m
    Make("R", "snowButton");
    ASSERT_TRUE(OnCompletionPage());
    const QString summary = summaryView()->toPlainText();
    mainWindow.reset();  // ended by force: no restore

    CreateAndShow();
    EXPECT_FALSE(OnCompletionPage());
    Make("S", "rainButton");  // must not overwrite the backups of the unrestored run
    EXPECT_EQ(Texts(),
              std::vector<std::string>{fogRunPage().texts().text(settings::Text::RunStillOpen)});
    EXPECT_TRUE(OnCompletionPage());
    EXPECT_TRUE(control<QRadioButton>("snowButton")->isChecked());
    EXPECT_EQ(summaryView()->toPlainText(), summary);
    EXPECT_FALSE(mainWindow->close());
    restoreButton()->click();
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
    EXPECT_FALSE(mainWindow->openUnrestoredRun());
    EXPECT_TRUE(mainWindow->close());
}

TEST_F(FogWindowTest, RunThatCannotReplaceEveryFileNamesThemAndStaysOnTheChoosingPage) {
    sim.AddEnvFile("R", "a_rain.env");
    sim.AddEnvFile("R", "b_rain.env");
    sim.AddTexturesFolder("R");
    platform::SetReadOnly((sim.envfiles("R") / "b_rain.env").string(), true);
    const Snapshot before = TakeSnapshot(sim.routes());
    const std::string folder = (sim.envfiles("R") / "").string();
    CreateAndShow();
    Make("R", "rainButton");
    EXPECT_EQ(Texts(),
              std::vector<std::string>{fogRunPage().texts().text(settings::Text::FogFailed) + "\n" +
                                       folder + "b_rain.env"});
    EXPECT_NE(fogRunPage().texts().text(settings::Text::FogFailed), "");
    EXPECT_FALSE(OnCompletionPage());
    EXPECT_TRUE(summaryView()->toPlainText().isEmpty());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);

    messages.clear();
    platform::SetReadOnly((sim.envfiles("R") / "b_rain.env").string(), false);
    const fs::path fogFile = prog.dump() / "rain" / "rain75.env";
    fs::remove(fogFile);
    Make("R", "rainButton");
    EXPECT_EQ(Texts(), std::vector<std::string>{
                           fogRunPage().texts().text(settings::Text::FogFailed) + "\n" + folder +
                           "a_rain.env\n" + folder + "b_rain.env\n" + fogFile.string()});
    EXPECT_FALSE(OnCompletionPage());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
    EXPECT_FALSE(fs::exists(prog.dump() / "Herstel.ini"));
    EXPECT_TRUE(mainWindow->close());
}

namespace {
// A record that would have the restore replace the simulator's train.exe with a file from the
// program folder and delete one of the player's files.
std::string CraftedRecord(const SimulatorTree& sim) {
    return "[Herstel]\r\nRoute=R\r\nPad=" + sim.root().string() +
           "\r\nWeer=rain\r\nZicht=75\r\nMeerdere=0\r\nBestand1=../../../train.exe\r\n"
           "Textuur1=../../../../notes.txt\r\n";
}
}  // namespace

TEST_F(FogWindowTest, RestoreWithoutItsRecordPutsBackTheWindowsOwnRun) {
    sim.AddEnvFile("R", "rain.env");
    sim.AddTexturesFolder("R");
    WriteFile(prog.root() / "train.exe", "not the simulator");
    WriteFile(sim.root() / "notes.txt", "the player's notes");
    const Snapshot before = TakeSnapshot(sim.root());
    const fs::path record = prog.dump() / "Herstel.ini";
    CreateAndShow();
    enum Variant { Gone, Crafted, RestoredElsewhere };
    for (const Variant variant : {Gone, Crafted, RestoredElsewhere}) {
        SCOPED_TRACE(variant);
        messages.clear();
        Make("R", "rainButton");
        ASSERT_TRUE(OnCompletionPage());
        std::vector<std::string> expected;
        switch (variant) {
            case Gone:
                fs::remove(record);
                break;
            case Crafted:
                WriteFile(record, CraftedRecord(sim));
                expected = {fogRunPage().texts().text(settings::Text::RecordInvalid) + "\n" +
                            (prog.dump() / "Herstel_ongeldig.ini").string()};
                break;
            case RestoredElsewhere:  // by another copy of the program: nothing left to do
                ASSERT_TRUE(fog::RestoreFog(*fog::LoadRunRecord()).Complete());
                break;
        }
        restoreButton()->click();
        EXPECT_EQ(Texts(), expected);
        EXPECT_FALSE(OnCompletionPage());
        EXPECT_EQ(TakeSnapshot(sim.root()), before);
        EXPECT_FALSE(fs::exists(record));
    }
    EXPECT_EQ(ReadFile(prog.dump() / "Herstel_ongeldig.ini"), CraftedRecord(sim));
    EXPECT_TRUE(mainWindow->close());
}

TEST_F(FogWindowTest, CraftedRecordAtStartIsSetAsideAndTheProgramCloses) {
    sim.AddEnvFile("R", "rain.env");
    WriteFile(prog.root() / "train.exe", "not the simulator");
    WriteFile(sim.root() / "notes.txt", "the player's notes");
    WriteFile(prog.dump() / "Back_up" / "R" / "rain.env", "an old backup");
    WriteFile(prog.dump() / "Herstel_ongeldig.ini", "set aside before");
    WriteFile(prog.dump() / "Herstel.ini", CraftedRecord(sim));
    const Snapshot before = TakeSnapshot(sim.root());
    CreateAndShow();
    EXPECT_FALSE(mainWindow->openUnrestoredRun());
    const fs::path aside = prog.dump() / "Herstel_ongeldig_2.ini";
    EXPECT_EQ(Texts(),
              std::vector<std::string>{fogRunPage().texts().text(settings::Text::RecordInvalid) +
                                       "\n" + aside.string()});
    EXPECT_NE(fogRunPage().texts().text(settings::Text::RecordInvalid), "");
    EXPECT_FALSE(OnCompletionPage());
    EXPECT_TRUE(mainWindow->close());
    EXPECT_EQ(TakeSnapshot(sim.root()), before);
    EXPECT_EQ(ReadFile(aside), CraftedRecord(sim));
    EXPECT_EQ(ReadFile(prog.dump() / "Herstel_ongeldig.ini"), "set aside before");
    EXPECT_FALSE(fs::exists(prog.dump() / "Herstel.ini"));
}

TEST_F(FogWindowTest, OpenRailsOptionAddsCopiesNamesThemInTheSummaryAndRestoreRemovesThem) {
    sim.AddEnvFile("R", "snow.env");
    const fs::path activities = sim.routes() / "R" / "Activities";
    const std::string activity =
        "SIMISA@@@@@@@@@@JINX0a0t______\r\n\r\nTr_Activity (\r\n\tTr_Activity_Header (\r\n"
        "\t\tName ( \"Freight\" )\r\n\t)\r\n\tTr_Activity_File (\r\n\t)\r\n)";
    WriteFile(activities / "a.act", activity);
    WriteFile(activities / "b.act", activity);
    WriteFile(activities / "c.act", "no activity");
    const Snapshot before = TakeSnapshot(sim.routes());
    CreateAndShow();
    control<QAction>("openRailsAction")->trigger();
    Make("R", "snowButton");

    ASSERT_TRUE(OnCompletionPage());
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_TRUE(fs::exists(activities / "a_ZEL_mist_snow_75m.act"));
    EXPECT_TRUE(fs::exists(sim.routes() / "R" / "WeatherFiles" / "ZEL_Nevora_snow_75m.weather-or"));
    const QStringList lines = summaryView()->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 24);
    const QString h(33, '-');
    EXPECT_EQ(lines.mid(15),
              (QStringList{"Open Rails-activiteiten met mist:", "2", h, "Open Rails-weerbestand:",
                           "ZEL_Nevora_snow_75m.weather-or", h, "Overgeslagen:", "c.act", h}));

    restoreButton()->click();
    EXPECT_FALSE(OnCompletionPage());
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
}

// A content folder as content packs lay it out (upper-case folders, no train.exe): the route
// list, the discovery and the Open Rails files all find their way, with the option left off.
TEST_F(FogWindowTest, ContentFolderRunAlwaysWritesTheOpenRailsFilesAndSaysWhereTheFogShows) {
    TempDir dir;
    const fs::path content = dir.path() / "Demo Pakket";
    MakeContentFolder(content, {"KUSTLIJN", "LEEG"});
    const fs::path activities = content / "ROUTES" / "KUSTLIJN" / "ACTIVITIES";
    const std::string events =
        "\tTr_Activity_File (\r\n\t\tEvents (\r\n\t\t\tEventCategoryLocation (\r\n"
        "\t\t\t\tID ( 1 )\r\n\t\t\t\tActivation_Level ( 1 )\r\n\t\t\t\tOutcomes ( )\r\n\t\t\t)\r\n"
        "\t\t)\r\n\t)\r\n)";
    const auto activity = [&](const char* name, const std::string& body) {
        return "SIMISA@@@@@@@@@@JINX0a0t______\r\n\r\nTr_Activity (\r\n\tTr_Activity_Header (\r\n"
               "\t\tName ( \"" +
               std::string(name) + "\" )\r\n\t\tWeather ( 0 )\r\n\t)\r\n" + body;
    };
    WriteFile(activities / "OCHTEND.ACT", activity("Ochtend", events));
    WriteFile(activities / "avond.act", activity("Avond", "\tTr_Activity_File (\r\n\t)\r\n)"));
    prog.WriteSettings(SettingsText("Nederlands", content.string()));
    const Snapshot before = TakeSnapshot(content);
    CreateAndShow();
    ASSERT_EQ(routeBox()->count(), 2);
    EXPECT_EQ(routeBox()->itemText(0), "KUSTLIJN");
    QTest::keyClick(visibilityBar(), Qt::Key_Left);
    QTest::keyClick(visibilityBar(), Qt::Key_Left);  // 25 m
    Make("KUSTLIJN", "rainButton");

    ASSERT_TRUE(OnCompletionPage());
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(ReadFile(content / "ROUTES" / "KUSTLIJN" / "ENVFILES" / "rain.env"),
              "fog rain25.env\n");
    int copies = 0;
    for (const auto& entry : fs::directory_iterator(activities)) {
        const std::string name = entry.path().filename().string();
        if (name.find("_ZEL_mist_rain_25m") == std::string::npos) continue;
        ++copies;
        const actcheck::Activity read = actcheck::ReadActivity(ReadFile(entry.path()));
        EXPECT_TRUE(read.warnings.empty()) << name;
        ASSERT_FALSE(read.events.empty()) << name;
        EXPECT_EQ(read.events[0].fogMetres, 25.0) << name;
        EXPECT_EQ(read.events[0].time, 0.0) << name;
    }
    EXPECT_EQ(copies, 2);
    EXPECT_TRUE(fs::exists(content / "ROUTES" / "KUSTLIJN" / "WeatherFiles" /
                           "ZEL_Nevora_rain_25m.weather-or"));
    EXPECT_EQ(Setting("Programma", "OpenRails"), "<missing>");
    const QStringList lines = summaryView()->toPlainText().split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.mid(lines.size() - 3, 2),
              (QStringList{"Mist in Open Rails:",
                           "kies een activiteit met mist in de activiteitenlijst, of het "
                           "weerbestand in de dienstregelingmodus"}));

    restoreButton()->click();
    EXPECT_FALSE(OnCompletionPage());
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(TakeSnapshot(content), before);

    // A route without activities: only the weather file, and the summary says so.
    Make("LEEG", "rainButton");
    ASSERT_TRUE(OnCompletionPage());
    EXPECT_TRUE(summaryView()->toPlainText().contains(
        "deze route heeft geen activiteiten: alleen het weerbestand"));
    restoreButton()->click();
    EXPECT_EQ(TakeSnapshot(content), before);
}

TEST_F(FogWindowTest, DoubleClickOnEitherButtonDoesNotPressTheOneBeneath) {
    sim.AddEnvFile("R", "rain.env");
    const Snapshot before = TakeSnapshot(sim.routes());
    CreateAndShow();
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    control<QRadioButton>("rainButton")->setChecked(true);
    routeBox()->setEditText("R");

    // The second click of a double click on "Maken..." (its press, its double-click report and
    // its release) lands on the restore button beneath.
    QTest::mouseClick(makeButton(), Qt::LeftButton);
    QTest::mouseDClick(restoreButton(), Qt::LeftButton);
    QTest::mouseRelease(restoreButton(), Qt::LeftButton);
    EXPECT_TRUE(OnCompletionPage());
    EXPECT_NE(TakeSnapshot(sim.routes()), before);
    // The keyboard is never held back.
    QTest::keyClick(restoreButton(), Qt::Key_Space);
    EXPECT_FALSE(OnCompletionPage());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);

    // Nor does a double click on the restore button make the fog again.
    QTest::mouseClick(makeButton(), Qt::LeftButton);
    EXPECT_FALSE(OnCompletionPage());

    // Clicks after the double-click time go through.
    QTest::qWait(interval + 50);
    QTest::mouseClick(makeButton(), Qt::LeftButton);
    EXPECT_TRUE(OnCompletionPage());
    QTest::qWait(interval + 50);
    QTest::mouseClick(restoreButton(), Qt::LeftButton);
    EXPECT_FALSE(OnCompletionPage());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(FogWindowTest, LabelAccessKeysFocusTheirPartnersWithoutClickingThem) {
    sim.AddEnvFile("R", "rain.env");
    prog.WritePack("Keys",
                   PackText("Keys", "ZEL Nevora",
                            "[Hoofd Scherm]\r\nlabel1=&Selecteer\r\nlabel2=&Kies\r\n"
                            "label5=&Zicht && meer:\r\n[Voltooi scherm]\r\nlabel3=&Uitleg\r\n"
                            "[Toestanden]\r\nToestand2=&Mist && nevel\r\n"));
    CreateAndShow();
    mainWindow->applyLanguage("Keys");
    mainWindow->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow.get()));
    const auto altKey = [&](Qt::Key key) {
        QTest::keyClick(mainWindow.get(), key, Qt::AltModifier);
    };

    altKey(Qt::Key_S);
    EXPECT_TRUE(routeBox()->hasFocus());
    // The weather label gives the focus to the checked weather and leaves the choice alone.
    control<QRadioButton>("rainButton")->setChecked(true);
    altKey(Qt::Key_K);
    EXPECT_TRUE(control<QRadioButton>("rainButton")->hasFocus());
    EXPECT_TRUE(control<QRadioButton>("rainButton")->isChecked());
    altKey(Qt::Key_Z);
    EXPECT_TRUE(visibilityBar()->hasFocus());
    EXPECT_EQ(visibilityBar()->value(), 75);

    // A label without a partner still shows "&&" as one "&" and underlines the marked letter.
    QTextDocument shown;
    shown.setHtml(fogStateLabel()->text());
    EXPECT_EQ(shown.toPlainText(), " Mist & nevel ");
    EXPECT_TRUE(shown.find("M").charFormat().fontUnderline());
    EXPECT_FALSE(shown.find("nevel").charFormat().fontUnderline());

    Make("R", "rainButton");
    ASSERT_TRUE(OnCompletionPage());
    altKey(Qt::Key_U);
    EXPECT_TRUE(restoreButton()->hasFocus());
    EXPECT_TRUE(OnCompletionPage()) << "the key only moves the focus to the restore button";
    restoreButton()->click();
}

// A run slow enough for the progress dialog: it is up while the fog files go in, counts the steps
// done of all, and has no cancel button; Escape and a close request leave it up.
TEST_F(FogWindowTest, SlowRunShowsProgressThatCannotBeCancelled) {
    sim.AddEnvFile("R", "rain.env");
    sim.AddTexturesFolder("R");
    CreateAndShow();
    const fog::FogRunRequest request = FogRequest(sim, "R", fog::Weather::Rain, 50);
    auto shownDialog = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QProgressDialog*>(w); dialog && dialog->isVisible())
                return dialog;
        return static_cast<QProgressDialog*>(nullptr);
    };
    std::optional<RunProgress> progress(std::in_place, mainWindow.get(), "bezig",
                                        StepCount::ForRun(request));
    const fog::StepHook counted = progress->hook();
    int steps = 0;
    bool checked = false;
    const auto outcome = fog::RunFog(request, [&](fog::Step step, std::size_t index) {
        counted(step, index);
        ++steps;
        if (step == fog::Step::Installed) {
            QProgressDialog* dialog = shownDialog();
            ASSERT_TRUE(dialog);
            EXPECT_EQ(dialog->labelText(), "bezig");
            EXPECT_EQ(dialog->value(), steps);
            EXPECT_EQ(dialog->maximum(), 9);  // one file and two textures, each staged
            EXPECT_TRUE(dialog->findChildren<QPushButton*>().isEmpty());
            QTest::keyClick(dialog, Qt::Key_Escape);
            dialog->close();
            EXPECT_TRUE(dialog->isVisible());
            checked = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    });
    EXPECT_EQ(outcome, fog::RunOutcome::Installed);
    EXPECT_TRUE(checked);
    progress.reset();
    EXPECT_FALSE(shownDialog());
}
