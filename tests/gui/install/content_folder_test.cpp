// Open Rails players without the 2001 simulator: content folders, the profiles of Open Rails'
// registry key, and choosing the folder again from the menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/program.h"
#include "core/fog/run_record.h"
#include "core/install/installation.h"
#include "core/platform/paths.h"
#include "gui/install/install_locator.h"
#include "gui/mainwindow/main_window.h"
#include "support/fixtures.h"
#include "support/gui.h"

using testsupport::Child;
namespace fs = std::filesystem;

namespace {

const char kContentFound[] = "De inhoudsmap voor Open Rails is met succes gevonden!";

class ContentFolderTest : public ::testing::Test {
  protected:
    testsupport::ProgramFolder prog;
    testsupport::MessageRecorder messages;
    testsupport::TempDir home;
    testsupport::ScopedEnv homeEnv{"HOME", home.str()};

    void SetUp() override {
        if constexpr (platform::kWindows)
            GTEST_SKIP() << "the prefix's registry file and drive links are Linux's";
    }
    std::string Pad() const { return prog.Setting("msts locatie", "Pad"); }
};

}  // namespace

TEST_F(ContentFolderTest, AFolderWithoutTrainExeCountsWhenItsRoutesHoldARoute) {
    using install::Installation;
    testsupport::TempDir dir;
    const fs::path content = dir.path() / "Demo Pakket";
    testsupport::MakeContentFolder(content, {"KUSTLIJN"});
    EXPECT_EQ(install::FindInstallation(content.string()), Installation::ContentFolder);
    EXPECT_EQ(install::FindInstallation(content.string() + "/"), Installation::ContentFolder);
    testsupport::WriteFile(content / "Train.exe", "MZ");
    EXPECT_EQ(install::FindInstallation(content.string()), Installation::Simulator);

    fs::create_directories(dir.path() / "empty" / "Routes");
    testsupport::WriteFile(dir.path() / "file" / "routes" / "readme.txt", "not a route");
    testsupport::WriteFile(dir.path() / "hidden" / "Routes" / ".cache" / "x", "");
    for (const char* none : {"empty", "file", "hidden", "missing"})
        EXPECT_EQ(install::FindInstallation((dir.path() / none).string()), Installation::None)
            << none;
}

TEST_F(ContentFolderTest, FirstRunOffersTheProfileAndEnterStoresIt) {
    testsupport::PlayerPrefix prefix({{"Oud", "C:\\Games\\Weg"},
                                      {"Leeg", "C:\\Games\\Leeg"},
                                      {"Demo", "C:\\users\\speler\\DEMO PAKKET"}});
    fs::create_directories(prefix.driveC() / "Games" / "Leeg" / "ROUTES");
    const fs::path content = prefix.driveC() / "users" / "speler" / "Demo Pakket";
    testsupport::MakeContentFolder(content, {"KUSTLIJN"});
    const std::string shown = fs::canonical(content).string();
    prog.WriteSettings(testsupport::SettingsText("Nederlands", "/nergens"));

    bool asked = false;
    testsupport::AnswerModal<InstallLocator>([&](InstallLocator* w) {
        asked = true;
        auto* box = Child<QComboBox>(*w, "folderBox");
        ASSERT_EQ(box->count(), 1);
        EXPECT_EQ(box->itemText(0).toStdString(), "Demo: " + shown);
        EXPECT_EQ(box->currentText().toStdString(), shown);
        EXPECT_EQ(w->focusWidget(), Child<QPushButton>(*w, "continueButton"));
        QTest::keyClick(w->focusWidget(), Qt::Key_Return);
    });
    InstallLocator locator;
    platform::RunGuarded([&] { locator.initialize(); });
    testsupport::ClearModalAnswers();
    ASSERT_TRUE(asked);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, kContentFound);
    EXPECT_EQ(messages.messages()[0].title, "Voltooid");
    EXPECT_EQ(Pad(), shown);

    // Picking an entry puts only its folder in the field, which stays free text.
    testsupport::AnswerModal<InstallLocator>([&](InstallLocator* w) {
        auto* box = Child<QComboBox>(*w, "folderBox");
        box->setEditText("getypt");
        box->setCurrentIndex(0);
        emit box->activated(0);
        EXPECT_EQ(box->currentText().toStdString(), shown);
        w->close();
    });
    EXPECT_FALSE(locator.chooseAgain().has_value());
    testsupport::ClearModalAnswers();
}

TEST_F(ContentFolderTest, MenuChoosesTheFolderAgainUnlessFogIsInstalled) {
    testsupport::TempDir dir;
    const fs::path first = dir.path() / "Eerste", second = dir.path() / "Tweede";
    testsupport::MakeContentFolder(first, {"A"});
    testsupport::MakeContentFolder(second, {"B", "C"});
    prog.WriteSettings(testsupport::SettingsText("Nederlands", first.string()));
    testsupport::PlayerPrefix prefix({});
    Program program;
    program.showMainWindow();
    MainWindow& window = program.mainWindow();
    auto* routes = Child<QComboBox>(window, "routeBox");
    auto* openRails = Child<QAction>(window, "openRailsAction");
    ASSERT_EQ(routes->count(), 1);
    // A content folder always gets the Open Rails files; the stored choice stays as it was.
    EXPECT_TRUE(openRails->isChecked());
    EXPECT_FALSE(openRails->isEnabled());
    EXPECT_EQ(prog.Setting("Programma", "OpenRails"), "<missing>");

    testsupport::AnswerModal<InstallLocator>([&](InstallLocator* w) {
        EXPECT_EQ(Child<QLineEdit>(*w, "folderEdit")->text().toStdString(), first.string());
        EXPECT_TRUE(w->windowFlags() & Qt::WindowCloseButtonHint);
        w->close();
    });
    Child<QAction>(window, "folderAction")->trigger();
    EXPECT_EQ(Pad(), first.string());
    EXPECT_EQ(routes->count(), 1);

    testsupport::AnswerModal<InstallLocator>([&](InstallLocator* w) {
        Child<QLineEdit>(*w, "folderEdit")->setText(QString::fromStdString(second.string()));
        Child<QPushButton>(*w, "continueButton")->click();
    });
    Child<QAction>(window, "folderAction")->trigger();
    testsupport::ClearModalAnswers();
    EXPECT_EQ(Pad(), second.string());
    EXPECT_EQ(routes->count(), 2);
    EXPECT_TRUE(messages.messages().back().text == kContentFound);

    // While a run waits for its restore, its record names the folder: no locator, a box.
    messages.clear();
    testsupport::WriteFile(fog::RunRecordPath(), "[Herstel]\r\n");
    bool shown = false;
    testsupport::AnswerModal<InstallLocator>([&](InstallLocator* w) {
        shown = true;
        w->close();
    });
    Child<QAction>(window, "folderAction")->trigger();
    testsupport::ClearModalAnswers();
    EXPECT_FALSE(shown);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text.substr(0, 55),
              "Zolang er mist op de route staat, kan de simulatormap n");
    EXPECT_EQ(Pad(), second.string());
    window.close();
}
