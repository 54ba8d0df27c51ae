// The installation locator, driven through its controls while it runs modally.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "gui/install/install_locator.h"
#include "gui/platform/shell.h"
#include "support/fixtures.h"
#include "support/gui.h"

using testsupport::Child;
using testsupport::PackText;
namespace fs = std::filesystem;

namespace {

const char kDefaultFolder[] = "C:\\Program Files\\Microsoft Games\\Train Simulator";
const char kNotFound[] =
    "\"Microsoft Train Simulator\" is niet gevonden! Controleer of het opgegeven pad juist is.";
const char kFound[] = "\"Microsoft Train Simulator\" is met succes gevonden!";

class LocatorTest : public ::testing::Test {
  protected:
    testsupport::ProgramFolder prog;
    testsupport::SimulatorTree sim;
    testsupport::MessageRecorder messages;
    testsupport::TempDir
        home;  // an empty home: no compatibility-layer prefix unless a test adds one
    testsupport::ScopedEnv homeEnv{"HOME", home.str()};
    std::unique_ptr<InstallLocator> loc;

    ~LocatorTest() override { platform::SetFolderHook({}); }

    void WriteSettings(const std::string& language, const std::string& pad = {}) {
        prog.WriteSettings(testsupport::SettingsText(language, pad));
    }

    std::string Pad() const { return prog.Setting("msts locatie", "Pad"); }

    // Creates the locator as start-up does; `answer` drives it if it shows. Returns whether it did.
    bool CreateLocator(std::function<void(InstallLocator*)> answer) {
        bool shown = false;
        testsupport::AnswerModal<InstallLocator>([&](InstallLocator* w) {
            shown = true;
            answer(w);
        });
        loc = std::make_unique<InstallLocator>();
        platform::RunGuarded([this] { loc->initialize(); });
        testsupport::ClearModalAnswers();
        return shown;
    }

    static void Confirm(InstallLocator* w, const std::string& folder) {
        Child<QLineEdit>(*w, "folderEdit")->setText(QString::fromStdString(folder));
        Child<QPushButton>(*w, "continueButton")->click();
    }
};

}  // namespace

TEST_F(LocatorTest, StoredFolderWithTrainExeShowsNothingAndWritesNothing) {
    WriteSettings("Nederlands", sim.root().string());
    const std::string before = testsupport::ReadFile(prog.settingsFile());
    EXPECT_FALSE(CreateLocator([](InstallLocator* w) { w->close(); }));
    EXPECT_EQ(testsupport::ReadFile(prog.settingsFile()), before);
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(LocatorTest, AsksUntilAFolderWithTrainExeIsConfirmedAndStoresIt) {
    WriteSettings("Nederlands", (sim.root() / "moved").string());
    const std::string good = sim.root().string();
    ASSERT_TRUE(CreateLocator([&](InstallLocator* w) {
        EXPECT_EQ(w->windowTitle(), "Locatie");
        EXPECT_EQ(Child<QLabel>(*w, "introLabel")->text(),
                  QString::fromUtf8("Voor u verder kan moet eerst de locatie worden "
                                    "aangegeven waar Microsoft Train Simulator is "
                                    "ge\xC3\xAFnstalleerd."));
        EXPECT_EQ(Child<QPushButton>(*w, "continueButton")->text(), "Ga Verder");
        EXPECT_EQ(Child<QPushButton>(*w, "browseButton")->text(), "Bladeren...");
        EXPECT_EQ(Child<QGroupBox>(*w, "folderGroup")->title(), "Locatie:");
        EXPECT_EQ(Child<QLineEdit>(*w, "folderEdit")->text(), kDefaultFolder);
        QTest::keyClick(w, Qt::Key_Escape);
        EXPECT_TRUE(w->isVisible());

        Confirm(w, (sim.root() / "Routes").string());
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(Pad(), (sim.root() / "moved").string());
        Confirm(w, good);
    }));
    ASSERT_EQ(messages.messages().size(), 2u);
    EXPECT_EQ(messages.messages()[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(messages.messages()[0].text, kNotFound);
    EXPECT_EQ(messages.messages()[0].title, "Fout");
    EXPECT_EQ(messages.messages()[1].icon, platform::MessageIcon::Info);
    EXPECT_EQ(messages.messages()[1].text, kFound);
    EXPECT_EQ(messages.messages()[1].title, "Voltooid");
    EXPECT_EQ(Pad(), good);
}

TEST_F(LocatorTest, TrailingSeparatorIsProbedAndStoredAsTyped) {
    WriteSettings("Nederlands");
    const std::string typed = sim.root().string() + "/";
    ASSERT_TRUE(CreateLocator([&](InstallLocator* w) { Confirm(w, typed); }));
    EXPECT_EQ(Pad(), typed);
}

TEST_F(LocatorTest, TrainExeCountsAsAnyFileButNotAsAFolder) {
    loc = std::make_unique<InstallLocator>();
    const auto probe = [&](const fs::path& folder) {
        return !TrainExeMissing(folder.string() + "/train.exe");
    };
    EXPECT_TRUE(probe(sim.root()));
    ASSERT_TRUE(platform::SetReadOnly((sim.root() / "train.exe").string(), true));
    EXPECT_TRUE(probe(sim.root()));

    testsupport::TempDir other;
    fs::create_directories(other.path() / "train.exe");
    EXPECT_FALSE(probe(other.path()));
    testsupport::WriteFile(other.path() / "upper" / "TRAIN.EXE", "MZ");
    EXPECT_TRUE(probe(other.path() / "upper"));
    EXPECT_FALSE(probe(other.path() / "missing"));
}

TEST_F(LocatorTest, BrowsingFillsTheFieldAndCancellingLeavesIt) {
    WriteSettings("Nederlands");
    std::string asked;
    std::string answer = sim.root().string();
    platform::SetFolderHook([&](const std::string& title) {
        asked = title;
        return answer;
    });
    ASSERT_TRUE(CreateLocator([&](InstallLocator* w) {
        Child<QPushButton>(*w, "browseButton")->click();
        EXPECT_EQ(Child<QLineEdit>(*w, "folderEdit")->text().toStdString(), sim.root().string());
        Child<QLineEdit>(*w, "folderEdit")->setText("typed");
        answer.clear();  // cancelled
        Child<QPushButton>(*w, "browseButton")->click();
        EXPECT_EQ(Child<QLineEdit>(*w, "folderEdit")->text(), "typed");
        w->close();
    }));
    EXPECT_EQ(asked, "Selecteer een map...");
    EXPECT_EQ(Pad(), "<missing>");  // closed by the system: nothing stored
}

// The window opens on the continue button, so Enter confirms the proposed folder; Tab goes on to
// browsing and then to the field, and back.
TEST_F(LocatorTest, TabOrderStartsAtContinueThenBrowseThenTheField) {
    WriteSettings("Nederlands");
    ASSERT_TRUE(CreateLocator([&](InstallLocator* w) {
        auto* continueButton = Child<QPushButton>(*w, "continueButton");
        EXPECT_EQ(w->focusWidget(), continueButton);
        const auto tab = [w] { QTest::keyClick(w->focusWidget(), Qt::Key_Tab); };
        tab();
        EXPECT_EQ(w->focusWidget(), Child<QPushButton>(*w, "browseButton"));
        tab();
        EXPECT_EQ(w->focusWidget(), Child<QComboBox>(*w, "folderBox"));
        tab();
        EXPECT_EQ(w->focusWidget(), continueButton);
        w->close();
    }));
}

TEST_F(LocatorTest, TextsComeFromThePackAndAMissingSectionEmptiesThem) {
    prog.WritePack("English",
                   PackText("English", "ZEL Nevora",
                            "[locatie scherm]\r\ntitel=Location\r\nlabel1=Where is it?\r\n"
                            "button1=Continue\r\nbutton2=Browse...\r\ngroupbox1=Folder:\r\n"
                            "[map dialoog]\r\nBrowseTekst=Pick a folder\r\n"
                            "[Meldingen]\r\nTitel=Error\r\nKan_niet_vinden=Not found\r\n"
                            "Is_Gevonden=Found\r\nGevonden_Titel=Done\r\n"));
    prog.WritePack("Bare", PackText("Bare", "ZEL Nevora"));
    WriteSettings("English");
    ASSERT_TRUE(CreateLocator([&](InstallLocator* w) {
        EXPECT_EQ(w->windowTitle(), "Location");
        EXPECT_EQ(Child<QLabel>(*w, "introLabel")->text(), "Where is it?");
        EXPECT_EQ(Child<QPushButton>(*w, "continueButton")->text(), "Continue");
        EXPECT_EQ(Child<QPushButton>(*w, "browseButton")->text(), "Browse...");
        EXPECT_EQ(Child<QGroupBox>(*w, "folderGroup")->title(), "Folder:");
        EXPECT_EQ(w->texts().text(settings::Text::BrowseText), "Pick a folder");
        Confirm(w, "/nowhere");
        Confirm(w, sim.root().string());
    }));
    ASSERT_EQ(messages.messages().size(), 2u);
    EXPECT_EQ(messages.messages()[0].text, "Not found");
    EXPECT_EQ(messages.messages()[0].title, "Error");
    EXPECT_EQ(messages.messages()[1].text, "Found");
    EXPECT_EQ(messages.messages()[1].title, "Done");

    WriteSettings("Bare");
    ASSERT_TRUE(CreateLocator([&](InstallLocator* w) {
        EXPECT_EQ(w->windowTitle(), "");
        EXPECT_EQ(Child<QPushButton>(*w, "continueButton")->text(), "");
        EXPECT_EQ(Child<QGroupBox>(*w, "folderGroup")->title(), "");
        w->close();
    }));
}

// No language stored (a first start whose fall-back to Dutch could not be written), or one whose
// pack is refused: the window and its boxes show the built-in texts, never empty ones.
TEST_F(LocatorTest, MissingOrRefusedPackGivesTheBuiltInTexts) {
    prog.WritePack("Other", PackText("Other", "Other program",
                                     "[locatie scherm]\r\ntitel=Location\r\nbutton1=Continue\r\n"));
    for (const char* settings : {"", "[Programma]\r\nTaalkeuze=Other\r\n"}) {
        SCOPED_TRACE(settings);
        prog.WriteSettings(settings);
        messages.clear();
        ASSERT_TRUE(CreateLocator([&](InstallLocator* w) {
            EXPECT_EQ(w->windowTitle(), "Locatie");
            EXPECT_EQ(Child<QLabel>(*w, "introLabel")->text().left(25),
                      "Voor u verder kan moet ee");
            EXPECT_EQ(Child<QPushButton>(*w, "continueButton")->text(), "Ga Verder");
            EXPECT_EQ(Child<QPushButton>(*w, "browseButton")->text(), "Bladeren...");
            EXPECT_EQ(Child<QGroupBox>(*w, "folderGroup")->title(), "Locatie:");
            Confirm(w, "/nowhere");
            w->close();
        }));
        ASSERT_EQ(messages.messages().size(), 1u);
        EXPECT_EQ(messages.messages()[0].text, kNotFound);
        EXPECT_EQ(messages.messages()[0].title, "Fout");
    }
}

TEST_F(LocatorTest, UnwritableSettingsAtConfirmationIsReportedAndTheWindowStillCloses) {
    WriteSettings("Nederlands");
    ASSERT_TRUE(platform::SetReadOnly(prog.settingsFile().string(), true));
    ASSERT_TRUE(CreateLocator([&](InstallLocator* w) { Confirm(w, sim.root().string()); }));
    ASSERT_EQ(messages.messages().size(), 2u);
    EXPECT_EQ(messages.messages()[0].text, kFound);
    EXPECT_EQ(messages.messages()[1].text,
              "Unable to write to " + prog.settingsFile().string() + ".");
    EXPECT_EQ(Pad(), "<missing>");
}

TEST_F(LocatorTest, StartsAtTheSimulatorInTheDefaultCompatibilityPrefix) {
    if constexpr (platform::kWindows)
        GTEST_SKIP() << "players run the simulator in a compatibility prefix only on Linux";
    const fs::path programFiles = home.path() / ".wine" / "drive_c" / "Program Files (x86)";
    const fs::path folder = programFiles / "microsoft games" / "Train Simulator";
    fs::create_directories(folder);
    EXPECT_EQ(FindSimulatorInDefaultPrefix(), std::nullopt);  // no train.exe there
    testsupport::WriteFile(folder / "Train.EXE", "MZ");
    EXPECT_EQ(FindSimulatorInDefaultPrefix(), folder.string());
    // The plain "Program Files" is tried first.
    const fs::path first =
        home.path() / ".wine" / "drive_c" / "Program Files" / "Microsoft Games" / "Train Simulator";
    testsupport::WriteFile(first / "train.exe", "MZ");
    EXPECT_EQ(FindSimulatorInDefaultPrefix(), first.string());

    WriteSettings("Nederlands");
    ASSERT_TRUE(CreateLocator([&](InstallLocator* w) {
        EXPECT_EQ(Child<QLineEdit>(*w, "folderEdit")->text().toStdString(), first.string());
        Child<QPushButton>(*w, "continueButton")->click();
    }));
    EXPECT_EQ(Pad(), first.string());
}
