// The first-run language window, driven through its controls while it runs modally.
#include "gui/settings/language_window.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "core/platform/files.h"
#include "support/main_window_fixture.h"

using testsupport::Child;
using testsupport::PackText;
namespace fs = std::filesystem;

namespace {

const char kLabel[] = "Selecteer de taal welke ZEL Nevora moet gebruiken.";
const char kReadErr[] = "Fout tijdens het lezen van taal bestand.";

std::string WindowPack(const std::string& language) {
    return PackText(language, "ZEL Nevora",
                    "[Taal Scherm]\r\nlabel1=Pick a language\r\ntitel=Choose\r\nbutton1=Go\r\n"
                    "[Hoofd Scherm]\r\nButton1=Make...\r\n");
}

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

class LanguageWindowTest : public MainWindowFixture {
  protected:
    std::unique_ptr<LanguageWindow> lang;

    // Creates the main window, forgets its start-up boxes, then the language window.
    bool StartUp(std::function<void(LanguageWindow*)> answer) {
        CreateMainWindow();
        messages.clear();
        return CreateLanguageWindow(std::move(answer));
    }

    // Creates the language window as start-up does; `answer` drives it if it shows. Returns
    // whether it showed.
    bool CreateLanguageWindow(std::function<void(LanguageWindow*)> answer) {
        bool shown = false;
        testsupport::AnswerModal<LanguageWindow>([&](LanguageWindow* w) {
            shown = true;
            answer(w);
        });
        lang = std::make_unique<LanguageWindow>(*mainWindow);
        platform::RunGuarded([this] { lang->initialize(); });
        testsupport::ClearModalAnswers();
        return shown;
    }
};

}  // namespace

TEST_F(LanguageWindowTest, AsksWhileUnansweredOrWithoutLanguageAndACloseRequestStoresNothing) {
    const struct {
        const char* settings;
        bool asks;
    } cases[] = {
        {"", true},
        {"[Programma]\r\nTaalscherm=1\r\nTaalkeuze=Nederlands\r\n", false},
        {"[Programma]\r\nTaalscherm=0x1\r\nTaalkeuze=Nederlands\r\n", false},
        {"[Programma]\r\nTaalscherm=1\r\n", true},
        {"[Programma]\r\nTaalscherm=yes\r\nTaalkeuze=Nederlands\r\n", true},
    };
    CreateMainWindow();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        // Written after the main window's start-up, which stores the language it falls back to.
        prog.WriteSettings(c.settings);
        const std::string asked = Setting("Programma", "Taalscherm");
        EXPECT_EQ(CreateLanguageWindow([](LanguageWindow* w) { w->close(); }), c.asks);
        EXPECT_EQ(Setting("Programma", "Taalscherm"), asked);
    }
}

TEST_F(LanguageWindowTest, FirstStartShowsDesignTextsAndPacksAndOkAppliesDutch) {
    prog.WritePack("English", WindowPack("English"));
    prog.WritePack("deutsch", WindowPack("Deutsch"));
    fs::create_directories(prog.languages() / "Fake.lng");
    testsupport::WriteFile(prog.languages() / "notes.txt", "not a pack");
    ASSERT_TRUE(StartUp([](LanguageWindow* w) {
        EXPECT_EQ(w->windowTitle(), "Kies uw taal ");
        EXPECT_EQ(Child<QLabel>(*w, "questionLabel")->text(), kLabel);
        EXPECT_EQ(Child<QPushButton>(*w, "okButton")->text(), "OK");
        EXPECT_EQ(Child<QComboBox>(*w, "languageBox")->currentText(), "Nederlands");
        // Listing order below the design item; a folder named like a pack is listed too.
        EXPECT_EQ(Items(Child<QComboBox>(*w, "languageBox")),
                  (QStringList{"Nederlands", "deutsch", "English", "Fake"}));
        QTest::keyClick(w, Qt::Key_Escape);
        EXPECT_TRUE(w->isVisible());
        Child<QPushButton>(*w, "okButton")->click();
    }));
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(Setting("Programma", "Taalscherm"), "1");
    EXPECT_EQ(Setting("Programma", "Taalkeuze"), "Nederlands");
    EXPECT_EQ(mainWindow->currentLanguage(), "Nederlands");
}

TEST_F(LanguageWindowTest, PickingAPackRelabelsTheWindowAndOkAppliesIt) {
    prog.WritePack("English", WindowPack("English"));
    ASSERT_TRUE(StartUp([](LanguageWindow* w) {
        QTest::keyClick(Child<QComboBox>(*w, "languageBox"), Qt::Key_Down);
        EXPECT_EQ(Child<QComboBox>(*w, "languageBox")->currentText(), "English");
        EXPECT_EQ(w->windowTitle(), "Choose");
        EXPECT_EQ(Child<QLabel>(*w, "questionLabel")->text(), "Pick a language");
        EXPECT_EQ(Child<QPushButton>(*w, "okButton")->text(), "Go");
        // Back to Dutch: caption and label return, the button keeps the pack's text.
        QTest::keyClick(Child<QComboBox>(*w, "languageBox"), Qt::Key_Up);
        EXPECT_EQ(w->windowTitle(), "Kies uw taal");
        EXPECT_EQ(Child<QLabel>(*w, "questionLabel")->text(), kLabel);
        EXPECT_EQ(Child<QPushButton>(*w, "okButton")->text(), "Go");
        EXPECT_EQ(w->chosenLanguage(), "Nederlands");
        QTest::keyClick(Child<QComboBox>(*w, "languageBox"), Qt::Key_Down);
        Child<QPushButton>(*w, "okButton")->click();
    }));
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(mainWindow->currentLanguage(), "English");
    EXPECT_EQ(makeButton()->text(), "Make...");
    EXPECT_EQ(Setting("Programma", "Taalkeuze"), "English");
    // The menu, filled when the main window shows, checks the chosen pack.
    mainWindow->show();
    ASSERT_EQ(languageMenu()->actions().size(), 2);
    EXPECT_TRUE(languageMenu()->actions()[1]->isChecked());
}

TEST_F(LanguageWindowTest, NameWithoutPackFileIsRefusedWithThreeDutchBoxes) {
    prog.WritePack("English", WindowPack("English"));
    fs::create_directories(prog.languages() / "Fake.lng");
    // Typed: no pack to read, so the window's three texts go empty as it is typed; nothing is
    // completed or added to the list.
    ASSERT_TRUE(StartUp([](LanguageWindow* w) {
        Child<QComboBox>(*w, "languageBox")->lineEdit()->selectAll();
        QTest::keyClicks(Child<QComboBox>(*w, "languageBox")->lineEdit(), "Engl");
        EXPECT_EQ(w->chosenLanguage(), "Engl");
        EXPECT_EQ(Child<QComboBox>(*w, "languageBox")->currentText(), "Engl");
        EXPECT_EQ(w->windowTitle(), "");
        EXPECT_EQ(Child<QLabel>(*w, "questionLabel")->text(), "");
        EXPECT_EQ(Child<QPushButton>(*w, "okButton")->text(), "");
        EXPECT_EQ(Child<QComboBox>(*w, "languageBox")->count(), 3);
        Child<QPushButton>(*w, "okButton")->click();
    }));
    // Picked: a folder named like a pack is listed, but it is no pack file.
    ASSERT_EQ(messages.messages().size(), 3u);
    prog.WriteSettings("");
    ASSERT_TRUE(CreateLanguageWindow([](LanguageWindow* w) {
        Child<QComboBox>(*w, "languageBox")->setCurrentIndex(1);
        QTest::keyClick(Child<QComboBox>(*w, "languageBox"), Qt::Key_Down);
        EXPECT_EQ(w->chosenLanguage(), "Fake");
        Child<QPushButton>(*w, "okButton")->click();
    }));
    // Each time: once from the file check, twice from the header check, all in Dutch.
    ASSERT_EQ(messages.messages().size(), 6u);
    for (const auto& m : messages.messages()) EXPECT_EQ(m.text, kReadErr);
    EXPECT_EQ(mainWindow->currentLanguage(), "Nederlands");
    EXPECT_TRUE(dutchAction()->isChecked());
    EXPECT_EQ(Setting("Programma", "Taalkeuze"), "Nederlands");
}

TEST_F(LanguageWindowTest, UnwritableSettingsFileIsReportedOnceAndTheWindowLetsTheUserOut) {
    prog.WriteSettings("[Programma]\r\nTaalkeuze=Nederlands\r\n");
    ASSERT_TRUE(platform::SetReadOnly(prog.settingsFile().string(), true));
    const std::string before = testsupport::ReadFile(prog.settingsFile());
    ASSERT_TRUE(StartUp([](LanguageWindow* w) { Child<QPushButton>(*w, "okButton")->click(); }));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text,
              "Unable to write to " + prog.settingsFile().string() + ".");
    EXPECT_FALSE(lang->isVisible());
    EXPECT_EQ(testsupport::ReadFile(prog.settingsFile()), before);
    EXPECT_EQ(mainWindow->currentLanguage(), "Nederlands");
}
