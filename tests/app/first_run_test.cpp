// The first run through the whole start-up: an empty Dump, the language window, the locator,
// then the main window in the chosen language listing the confirmed folder's routes.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <stdexcept>

#include "app/program.h"
#include "core/platform/profile.h"
#include "gui/install/install_locator.h"
#include "gui/mainwindow/main_window.h"
#include "gui/settings/language_window.h"
#include "support/fixtures.h"
#include "support/gui.h"

using testsupport::Child;
namespace fs = std::filesystem;

namespace {

// The main window while start-up is still creating the program's windows.
MainWindow& StartingMainWindow() {
    return *testsupport::TopLevel<MainWindow>("MainWindow");
}

}  // namespace

TEST(FirstRun, AsksLanguageThenFolderThenShowsTheRoutesInTheChosenLanguage) {
    testsupport::ProgramFolder prog;
    testsupport::SimulatorTree sim;
    testsupport::TempDir home;
    testsupport::ScopedEnv homeEnv("HOME", home.str());
    testsupport::MessageRecorder messages;
    fs::create_directories(sim.routes() / "Zuid");
    fs::create_directories(sim.routes() / "Noord");
    prog.WritePack("English", testsupport::PackText("English", "ZEL Nevora",
                                                    "[Hoofd Scherm]\r\nButton1=Make...\r\n"
                                                    "[locatie scherm]\r\nbutton1=Continue\r\n"
                                                    "[Meldingen]\r\nIs_Gevonden=Found\r\n"));

    std::vector<std::string> order;
    testsupport::AnswerModal<LanguageWindow>([&](LanguageWindow* w) {
        order.emplace_back("language");
        EXPECT_FALSE(StartingMainWindow().isVisible());
        QTest::keyClick(Child<QComboBox>(*w, "languageBox"), Qt::Key_Down);
        Child<QPushButton>(*w, "okButton")->click();
    });
    testsupport::AnswerModal<InstallLocator>([&](InstallLocator* w) {
        order.emplace_back("locator");
        EXPECT_FALSE(StartingMainWindow().isVisible());
        // It sees the language just chosen.
        EXPECT_EQ(Child<QPushButton>(*w, "continueButton")->text(), "Continue");
        Child<QLineEdit>(*w, "folderEdit")->setText(QString::fromStdString(sim.root().string()));
        Child<QPushButton>(*w, "continueButton")->click();
    });
    Program program;
    EXPECT_EQ(order, (std::vector<std::string>{"language", "locator"}));

    // The main window's start-up found no language: three Dutch boxes before anything else.
    ASSERT_EQ(messages.messages().size(), 4u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(messages.messages()[i].title, "Fout");
    EXPECT_EQ(messages.messages()[3].text, "Found");

    program.showMainWindow();
    MainWindow& window = program.mainWindow();
    EXPECT_EQ(Child<QPushButton>(window, "makeButton")->text(), "Make...");
    ASSERT_EQ(Child<QComboBox>(window, "routeBox")->count(), 2);
    EXPECT_EQ(Child<QComboBox>(window, "routeBox")->itemText(0), "Noord");
    EXPECT_EQ(Child<QComboBox>(window, "routeBox")->itemText(1), "Zuid");
    EXPECT_TRUE(Child<QMenu>(window, "languageMenu")->actions().at(1)->isChecked());
    const std::string ini = prog.settingsFile().string();
    EXPECT_EQ(platform::GetProfileString(ini, "Programma", "Taalscherm", ""), "1");
    EXPECT_EQ(platform::GetProfileString(ini, "Programma", "Taalkeuze", ""), "English");
    EXPECT_EQ(platform::GetProfileString(ini, "msts locatie", "Pad", ""), sim.root().string());
    window.hide();
}

namespace {

// Start-up with its two modal windows answered: the language window with OK, the locator with
// `folder` (empty: closed without one). `seen` runs as each window opens.
void StartUp(const std::string& folder, std::vector<std::string>& order,
             const std::function<void(QWidget*)>& seen) {
    testsupport::AnswerModal<LanguageWindow>([&](LanguageWindow* w) {
        order.emplace_back("language");
        seen(w);
        Child<QPushButton>(*w, "okButton")->click();
    });
    testsupport::AnswerModal<InstallLocator>([&](InstallLocator* w) {
        order.emplace_back("locator");
        seen(w);
        if (folder.empty()) {
            w->close();
            return;
        }
        Child<QLineEdit>(*w, "folderEdit")->setText(QString::fromStdString(folder));
        Child<QPushButton>(*w, "continueButton")->click();
    });
    Program program;
    testsupport::ClearModalAnswers();
}

}  // namespace

// The program folder as it ships: its settings file names the built-in language only, so the first
// start goes to the language window and the locator without reporting any pack.
TEST(FirstRun, ShippedProgramFolderAsksLanguageAndFolderWithoutPackErrors) {
    testsupport::ProgramFolder prog;
    testsupport::SimulatorTree sim;
    testsupport::TempDir home;
    testsupport::ScopedEnv homeEnv("HOME", home.str());
    testsupport::MessageRecorder messages;
    fs::copy(testsupport::SourceDir() / "data" / "Dump", prog.dump(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    ASSERT_TRUE(fs::is_regular_file(prog.settingsFile()));

    std::vector<std::string> order;
    std::vector<size_t> boxesBefore;
    StartUp(sim.root().string(), order,
            [&](QWidget*) { boxesBefore.push_back(messages.messages().size()); });
    EXPECT_EQ(order, (std::vector<std::string>{"language", "locator"}));
    EXPECT_EQ(boxesBefore, (std::vector<size_t>{0, 0}));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, "\"Microsoft Train Simulator\" is met succes gevonden!");
    EXPECT_EQ(prog.Setting("Programma", "Taalscherm"), "1");
    EXPECT_EQ(prog.Setting("Programma", "Taalkeuze"), "Nederlands");
    EXPECT_EQ(prog.Setting("msts locatie", "Pad"), sim.root().string());
}

// A first start where nothing can be stored (here the settings file's name is taken by a folder):
// the boxes that say so and the windows that follow speak the built-in Dutch, none is blank.
TEST(FirstRun, ProgramFolderThatCannotBeWrittenStillShowsEveryText) {
    testsupport::ProgramFolder prog;
    testsupport::TempDir home;
    testsupport::ScopedEnv homeEnv("HOME", home.str());
    testsupport::MessageRecorder messages;
    fs::create_directories(prog.settingsFile());

    std::vector<std::string> order;
    StartUp("", order, [&](QWidget* w) {
        EXPECT_FALSE(w->windowTitle().trimmed().isEmpty()) << w->objectName().toStdString();
        for (const QLabel* label : w->findChildren<QLabel*>())
            EXPECT_FALSE(label->text().isEmpty()) << label->objectName().toStdString();
        for (const QPushButton* button : w->findChildren<QPushButton*>())
            EXPECT_FALSE(button->text().isEmpty()) << button->objectName().toStdString();
    });
    EXPECT_EQ(order, (std::vector<std::string>{"language", "locator"}));
    ASSERT_FALSE(messages.messages().empty());
    for (const auto& m : messages.messages()) {
        EXPECT_FALSE(m.text.empty());
        EXPECT_FALSE(m.title.empty());
    }
}
