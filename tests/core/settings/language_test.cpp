// Language packs: finding them, the acceptance rule and the key list the program reads.
#include "core/settings/language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "core/platform/files.h"
#include "core/settings/texts.h"
#include "support/fixtures.h"

namespace fs = std::filesystem;

TEST(LanguagePacks, NamesComeFromEveryLngEntryInListingOrder) {
    testsupport::ProgramFolder prog;
    prog.WritePack("Francais", "");
    prog.WritePack("english", "");
    prog.WritePack("Fr.old", "");
    fs::create_directories(prog.languages() / "Folder.lng");
    testsupport::WriteFile(prog.languages() / ".Hidden.lng", "");
    testsupport::WriteFile(prog.languages() / "notes.txt", "");
    const auto names = settings::FindPackNames(settings::PackFolder());
    // Any attribute, folders included; only the last extension goes.
    EXPECT_EQ(names,
              (std::vector<std::string>{".Hidden", "english", "Folder", "Fr.old", "Francais"}));
    EXPECT_TRUE(settings::FindPackNames(prog.root().string() + "/none").empty());
}

TEST(LanguagePacks, PackFileCheckCountsFilesOfAnyAttributeButNoFolders) {
    testsupport::ProgramFolder prog;
    prog.WritePack("Locked", "");
    ASSERT_TRUE(platform::SetReadOnly((prog.languages() / "Locked.lng").string(), true));
    fs::create_directories(prog.languages() / "Folder.lng");
    testsupport::WriteFile(prog.languages() / ".Dot.lng", "");
    EXPECT_TRUE(settings::PackFileExists("Locked"));
    EXPECT_TRUE(settings::PackFileExists("LOCKED"));  // file names ignore case
    EXPECT_TRUE(settings::PackFileExists(".Dot"));
    EXPECT_FALSE(settings::PackFileExists("Folder"));
    EXPECT_FALSE(settings::PackFileExists(""));
}

TEST(LanguagePacks, AcceptanceRule) {
    EXPECT_TRUE(settings::LanguageValuePasses("English"));
    EXPECT_TRUE(settings::LanguageValuePasses(" "));
    EXPECT_TRUE(settings::LanguageValuePasses("\xC9sperant"));  // bytes compare unsigned
    EXPECT_FALSE(settings::LanguageValuePasses("Onbekend"));
    EXPECT_FALSE(settings::LanguageValuePasses(""));
    EXPECT_FALSE(
        settings::LanguageValuePasses("\x1F"
                                      "English"));
    EXPECT_TRUE(settings::LanguageValuePasses("onbekend"));
    EXPECT_TRUE(settings::ProgramValuePasses("ZEL Nevora"));
    EXPECT_FALSE(settings::ProgramValuePasses("ZEL NEVORA"));
    EXPECT_FALSE(settings::ProgramValuePasses("ZEL Nevora "));
}

TEST(LanguagePacks, TextsComeFromThePackWithoutDutchFallBack) {
    testsupport::ProgramFolder prog;
    prog.WritePack(
        "Part", testsupport::PackText("Part", "ZEL Nevora", "[Taal Scherm]\r\ntitel=Choose\r\n"));
    using settings::TextWindow;
    const auto texts = settings::LoadTexts(TextWindow::Language, "Part");
    EXPECT_EQ(texts.all().size(), settings::TextsOf(TextWindow::Language).size());
    EXPECT_EQ(texts.text(settings::Text::LanguageQuestion),
              "");  // a missing key is empty, never the Dutch
    EXPECT_EQ(texts.text(settings::Text::LanguageTitle), "Choose");
    const auto dutch = settings::LoadTexts(TextWindow::Language, "Nederlands");
    EXPECT_EQ(dutch.text(settings::Text::LanguageTitle), "Kies uw taal");
    EXPECT_TRUE(dutch.at(settings::Text::LanguageOk).keep);  // Dutch leaves the button's caption
}

// A box never goes blank: a message the pack lacks or leaves empty is the built-in one, while the
// captions stay the pack's, empty or not, whether or not its "File info" passes.
TEST(LanguagePacks, MessagesThePackLacksAreTheBuiltInOnesKeyByKey) {
    using namespace settings;
    testsupport::ProgramFolder prog;
    prog.WritePack("Part", testsupport::PackText("", "Other",
                                                 "[Meldingen]\r\nTitel=Error\r\nTaal_lees_err=\r\n"
                                                 "[Hoofd Scherm]\r\nSun=Sunny\r\n"));
    const WindowTexts main = LoadTexts(TextWindow::Main, "Part");
    EXPECT_EQ(main.text(settings::Text::ErrorTitle), "Error");
    EXPECT_EQ(main.text(settings::Text::PackReadError), "Fout tijdens het lezen van taal bestand.");
    EXPECT_EQ(main.text(settings::Text::NoRoute), "Er is nog geen route geselecteerd!");
    EXPECT_EQ(main.text(settings::Text::SunButton), "Sunny");
    EXPECT_EQ(main.text(settings::Text::MakeButton), "");
    const WindowTexts locator = LoadTexts(TextWindow::Locator, "Missing");
    EXPECT_EQ(locator.text(settings::Text::LocatorTitle), "");
    EXPECT_EQ(locator.text(settings::Text::ErrorTitle), "Fout");
}

// The windows that take the stored language without the main window's checks.
TEST(LanguagePacks, MissingOrRefusedPackGivesTheBuiltInTexts) {
    testsupport::ProgramFolder prog;
    prog.WritePack("Headless", "[Taal Scherm]\r\ntitel=Choose\r\n");
    prog.WritePack("Other", testsupport::PackText("Other", "Other program",
                                                  "[Taal Scherm]\r\ntitel=Choose\r\n"));
    for (const char* name : {"Headless", "Other", "Missing", ""}) {
        const auto texts = settings::LoadTextsOrBuiltIn(settings::TextWindow::Language, name);
        EXPECT_EQ(texts.text(settings::Text::LanguageTitle), "Kies uw taal") << name;
        EXPECT_TRUE(texts.at(settings::Text::LanguageOk).keep) << name;
    }
}

TEST(LanguagePacks, KeyListHoldsEverySectionOnceAndSharedKeysOnce) {
    const auto keys = settings::AllPackKeys();
    auto count = [&](const std::string& section, const std::string& key) {
        return std::count(keys.begin(), keys.end(), settings::PackKey{section, key});
    };
    EXPECT_EQ(count("File info", "Language"), 1);
    EXPECT_EQ(count("Hoofd Scherm", "RouteBox"), 1);
    EXPECT_EQ(count("Meldingen", "Titel"), 1);  // shared by the main window and the locator
    EXPECT_EQ(count("About Dlg", "mail_adres"), 1);
    EXPECT_EQ(count("map dialoog", "BrowseTekst"), 1);
    EXPECT_EQ(count("Taal Scherm", "button1"), 1);
}
