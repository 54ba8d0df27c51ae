// Options > Taal and the pack checks: listing, switching, refusing a pack and falling back to
// Dutch.
#include <QAction>
#include <QMenu>
#include <QPushButton>

#include "support/main_window_fixture.h"

using testsupport::PackText;
namespace fs = std::filesystem;

namespace {

const char kReadErr[] = "Fout tijdens het lezen van taal bestand.";

std::string Pack(const std::string& language, const std::string& program,
                 const std::string& button) {
    return PackText(language, program,
                    "[Hoofd Scherm]\r\nButton1=" + button +
                        "\r\n[Meldingen]\r\nTaal_lees_err=cannot read\r\nTitel=Error\r\n");
}

QStringList Names(const QMenu* menu) {
    QStringList names;
    for (const QAction* item : menu->actions()) names << item->objectName() + "=" + item->text();
    return names;
}

QAction* Item(const QMenu* menu, const QString& caption) {
    for (QAction* item : menu->actions())
        if (item->text() == caption) return item;
    return nullptr;
}

}  // namespace

TEST_F(MainWindowFixture, MenuListsPacksOnceInListingOrderAndSwitchesLanguage) {
    prog.WritePack("zulu", Pack("Zulu", "ZEL Nevora", "Yenza"));
    prog.WritePack("Alpha", Pack("Alpha", "ZEL Nevora", "Alpha!"));
    testsupport::WriteFile(prog.languages() / "readme.txt", "not a pack");
    WriteSettings("zulu");
    CreateAndShow();
    EXPECT_EQ(Names(languageMenu()),
              (QStringList{"dutchAction=Nederlands", "Language2=Alpha", "Language3=zulu"}));
    EXPECT_TRUE(Item(languageMenu(), "zulu")->isChecked());
    mainWindow->hide();
    mainWindow->show();
    EXPECT_EQ(languageMenu()->actions().size(), 3);

    Item(languageMenu(), "Alpha")->trigger();
    EXPECT_EQ(makeButton()->text(), "Alpha!");
    EXPECT_FALSE(Item(languageMenu(), "zulu")->isChecked());
    EXPECT_EQ(Setting("Programma", "Taalkeuze"), "Alpha");
    // The checked item again re-reads the pack.
    prog.WritePack("Alpha", Pack("Alpha", "ZEL Nevora", "Edited"));
    Item(languageMenu(), "Alpha")->trigger();
    EXPECT_EQ(makeButton()->text(), "Edited");
    dutchAction()->trigger();
    EXPECT_EQ(makeButton()->text(), "Maken...");
    EXPECT_EQ(Setting("Programma", "Taalkeuze"), "Nederlands");
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(MainWindowFixture, WithoutPacksDutchIsChecked) {
    WriteSettings("Nederlands");
    CreateAndShow();
    EXPECT_EQ(languageMenu()->actions().size(), 1);
    EXPECT_TRUE(dutchAction()->isChecked());
}

TEST_F(MainWindowFixture, RefusedPackShowsBoxesInTheActiveLanguageThenDutch) {
    prog.WritePack("English", Pack("English", "ZEL Nevora", "Make"));
    prog.WritePack("WrongProgram", Pack("Wrong", "zel nevora", "x"));
    prog.WritePack("Unknown", Pack("Onbekend", "ZEL Nevora", "x"));
    prog.WritePack("BothWrong", Pack("", "Other", "x"));
    prog.WritePack("Vanished", Pack("Vanished", "ZEL Nevora", "x"));
    fs::create_directories(prog.languages() / "Folder.lng");
    WriteSettings("English");
    CreateAndShow();
    fs::remove(prog.languages() / "Vanished.lng");  // gone since the menu was filled

    const struct {
        const char* caption;
        size_t boxes;
    } cases[] = {
        {"WrongProgram", 1}, {"Unknown", 1}, {"BothWrong", 2}, {"Vanished", 2}, {"Folder", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        Item(languageMenu(), "English")->trigger();
        ASSERT_EQ(makeButton()->text(), "Make");
        messages.clear();
        Item(languageMenu(), c.caption)->trigger();
        ASSERT_EQ(messages.messages().size(), c.boxes);
        for (const auto& m : messages.messages()) {
            // Reported in the language active before the click.
            EXPECT_EQ(m.text, "cannot read");
            EXPECT_EQ(m.title, "Error");
        }
        EXPECT_EQ(mainWindow->currentLanguage(), "Nederlands");
        EXPECT_EQ(makeButton()->text(), "Maken...");
        EXPECT_TRUE(dutchAction()->isChecked());
        EXPECT_EQ(Setting("Programma", "Taalkeuze"), "Nederlands");
    }
}

TEST_F(MainWindowFixture, StoredPackThatWasDeletedGivesThreeDutchBoxesAndIsForgotten) {
    WriteSettings("Gone");
    CreateMainWindow();
    ASSERT_EQ(messages.messages().size(), 3u);
    for (const auto& m : messages.messages()) {
        EXPECT_EQ(m.text, kReadErr);
        EXPECT_EQ(m.title, "Fout");
    }
    EXPECT_EQ(mainWindow->currentLanguage(), "Nederlands");
    EXPECT_EQ(Setting("Programma", "Taalkeuze"), "Nederlands");
}
