// Language packs: finding them, the acceptance rule and the key list the program reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "platform/files.h"
#include "settings/language.h"
#include "settings/texts.h"
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
    EXPECT_EQ(names, (std::vector<std::string>{".Hidden", "english", "Folder", "Fr.old", "Francais"}));
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
    EXPECT_FALSE(settings::LanguageValuePasses("\x1F" "English"));
    EXPECT_TRUE(settings::LanguageValuePasses("onbekend"));
    EXPECT_TRUE(settings::ProgramValuePasses("ZEL Nevora"));
    EXPECT_FALSE(settings::ProgramValuePasses("ZEL NEVORA"));
    EXPECT_FALSE(settings::ProgramValuePasses("ZEL Nevora "));
}

TEST(LanguagePacks, TextsComeFromThePackWithoutDutchFallBack) {
    testsupport::ProgramFolder prog;
    prog.WritePack("Part",
                   testsupport::PackText("Part", "ZEL Nevora", "[Taal Scherm]\r\ntitel=Choose\r\n"));
    const auto texts = settings::LoadTexts(settings::LanguageWindowTexts(), "Part");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "");  // a missing key is empty, never the Dutch text
    EXPECT_EQ(texts[1].text, "Choose");
    const auto dutch = settings::LoadTexts(settings::LanguageWindowTexts(), "Nederlands");
    EXPECT_EQ(dutch[1].text, "Kies uw taal");
    EXPECT_TRUE(dutch[2].keep);  // the button has no built-in text: it keeps its caption
}

// A box never goes blank: a message the pack lacks or leaves empty is the built-in one, while the
// captions stay the pack's, empty or not, whether or not its "File info" passes.
TEST(LanguagePacks, MessagesThePackLacksAreTheBuiltInOnesKeyByKey) {
    using namespace settings;
    testsupport::ProgramFolder prog;
    prog.WritePack("Part", testsupport::PackText("", "Other",
                                                 "[Meldingen]\r\nTitel=Error\r\nTaal_lees_err=\r\n"
                                                 "[Hoofd Scherm]\r\nSun=Sunny\r\n"));
    std::map<int, std::string> main, locator;
    for (const auto& t : LoadTexts(MainWindowTexts(), "Part")) main[t.target] = t.text;
    EXPECT_EQ(main[kErrorTitle], "Error");
    EXPECT_EQ(main[kLanguageReadErrMsg], "Fout tijdens het lezen van taal bestand.");
    EXPECT_EQ(main[kNoRouteMsg], "Er is nog geen route geselecteerd!");
    EXPECT_EQ(main[kSunButton], "Sunny");
    EXPECT_EQ(main[kMakeButton], "");
    for (const auto& t : LoadTexts(LocatorTexts(), "Missing")) locator[t.target] = t.text;
    EXPECT_EQ(locator[kLocCaption], "");
    EXPECT_EQ(locator[kLocErrorTitle], "Fout");
}

// The windows that take the stored language without the main window's checks.
TEST(LanguagePacks, MissingOrRefusedPackGivesTheBuiltInTexts) {
    testsupport::ProgramFolder prog;
    prog.WritePack("Headless", "[Taal Scherm]\r\ntitel=Choose\r\n");
    prog.WritePack("Other", testsupport::PackText("Other", "Other program",
                                                  "[Taal Scherm]\r\ntitel=Choose\r\n"));
    for (const char* name : {"Headless", "Other", "Missing", ""}) {
        const auto texts = settings::LoadTextsOrBuiltIn(settings::LanguageWindowTexts(), name);
        EXPECT_EQ(texts[1].text, "Kies uw taal") << name;
        EXPECT_TRUE(texts[2].keep) << name;
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
