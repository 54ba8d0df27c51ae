// The shipped language packs: a pack that lacks a key shows an empty caption, a '%' breaks a
// message box, a second copy of a section is silently ignored, and a byte that is neither UTF-8
// nor Windows-1252 shows as garbage. Every pack found in the shipped folder is checked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/platform/profile.h"
#include "core/platform/text.h"
#include "core/settings/language.h"
#include "core/settings/texts.h"
#include "support/fixtures.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFile;

fs::path ShippedFolder() {
    return testsupport::SourceDir() / "data" / "Dump" / "Languages";
}

fs::path PackFile(const std::string& name) {
    return ShippedFolder() / (name + ".lng");
}

std::vector<std::string> ShippedPacks() {
    return settings::FindPackNames(ShippedFolder().string());
}

// Pack sections and keys compare as the program compares them.
std::string Upper(std::string s) {
    for (char& c : s) c = platform::UpperAscii(c);
    return s;
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The file as its lines say it: every section header and every key=value line, in file order.
struct Line {
    std::string section;  // the section the line belongs to
    std::string key;      // empty for a section header
    std::string value;
};
std::vector<Line> ParseLines(const std::string& bytes) {
    std::vector<Line> lines;
    std::string section;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        line = Trim(line);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[' && line.back() == ']') {
            section = Trim(line.substr(1, line.size() - 2));
            lines.push_back({section, "", ""});
        } else if (const auto eq = line.find('='); eq != std::string::npos) {
            lines.push_back({section, Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))});
        }
    }
    return lines;
}

std::string Read(const std::string& pack, const std::string& section, const std::string& key) {
    return platform::GetProfileString(PackFile(pack).string(), section, key, "<missing>");
}

TEST(ShippedPacks, EnglishGermanAndFrenchShip) {
    const auto packs = ShippedPacks();
    for (const char* name : {"English", "Deutsch", "Francais"})
        EXPECT_NE(std::find(packs.begin(), packs.end(), name), packs.end()) << name;
}

TEST(ShippedPacks, HoldEveryKeyTheProgramReadsAndNoOther) {
    const auto keys = settings::AllPackKeys();
    std::set<std::pair<std::string, std::string>> known;
    for (const auto& k : keys) known.insert({Upper(k.section), Upper(k.key)});
    for (const auto& pack : ShippedPacks()) {
        for (const auto& k : keys) {
            const std::string value = Read(pack, k.section, k.key);
            EXPECT_NE(value, "<missing>") << pack << " lacks [" << k.section << "] " << k.key;
            EXPECT_NE(value, "") << pack << " has an empty [" << k.section << "] " << k.key;
        }
        // A key the program never reads is a misspelling or a leftover a translator wastes time on.
        for (const auto& line : ParseLines(ReadFile(PackFile(pack)))) {
            if (line.key.empty()) continue;
            EXPECT_TRUE(known.count({Upper(line.section), Upper(line.key)}))
                << pack << " has unknown [" << line.section << "] " << line.key;
        }
    }
}

TEST(ShippedPacks, PassTheFileInfoCheck) {
    for (const auto& pack : ShippedPacks()) {
        EXPECT_TRUE(
            settings::LanguageValuePasses(Read(pack, settings::kFileInfoSection, "Language")))
            << pack;
        EXPECT_TRUE(settings::ProgramValuePasses(Read(pack, settings::kFileInfoSection, "Program")))
            << pack;
    }
}

// Only the first of two same-named sections or keys is ever read, so a repeat hides its texts.
TEST(ShippedPacks, NameEverySectionAndKeyOnce) {
    for (const auto& pack : ShippedPacks()) {
        std::map<std::string, int> sections;
        std::map<std::pair<std::string, std::string>, int> pairs;
        for (const auto& line : ParseLines(ReadFile(PackFile(pack)))) {
            if (line.key.empty())
                ++sections[Upper(line.section)];
            else
                ++pairs[{Upper(line.section), Upper(line.key)}];
        }
        for (const auto& [name, count] : sections)
            EXPECT_EQ(count, 1) << pack << ": section [" << name << "]";
        for (const auto& [pair, count] : pairs)
            EXPECT_EQ(count, 1) << pack << ": [" << pair.first << "] " << pair.second;
    }
}

// Message texts go through a format step where '%' starts a conversion; captions stay clear of it
// too, so a translator copying a caption into a message cannot break a box.
TEST(ShippedPacks, HoldNoPercentSign) {
    for (const auto& pack : ShippedPacks())
        for (const auto& line : ParseLines(ReadFile(PackFile(pack))))
            EXPECT_EQ(line.value.find('%'), std::string::npos)
                << pack << ": [" << line.section << "] " << line.key << "=" << line.value;
}

// The access key of a menu caption, lower-cased (UTF-8), or empty when it has none; "&&" is a
// literal ampersand. Counts the access keys in `count`.
std::string AccessKey(const std::string& caption, int& count) {
    std::string key;
    count = 0;
    const std::string text = platform::DecodeForDisplay(caption);
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        ++count;
        size_t length = 1;
        const auto lead = static_cast<unsigned char>(text[i + 1]);
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        key = text.substr(i + 1, length);
        if (length == 1) key[0] = static_cast<char>(std::tolower(lead));
    }
    return key;
}

TEST(ShippedPacks, MenuCaptionsHaveOneDistinctAccessKeyPerMenu) {
    // The main menu's bar and its drop-down menus, by their pack keys.
    const std::vector<std::vector<std::string>> menus = {
        {"Bestand1", "Opties1", "help1"}, {"Afsluiten1"}, {"Taal1"}, {"Help2", "info1"}};
    const auto keys = settings::AllPackKeys();
    for (const auto& menu : menus)
        for (const auto& key : menu)
            ASSERT_NE(std::find(keys.begin(), keys.end(), settings::PackKey{"Menu", key}),
                      keys.end())
                << "the program no longer reads [Menu] " << key;

    for (const auto& pack : ShippedPacks()) {
        for (const auto& menu : menus) {
            std::map<std::string, std::string> owner;  // access key -> pack key
            for (const auto& key : menu) {
                int count = 0;
                const std::string access = AccessKey(Read(pack, "Menu", key), count);
                EXPECT_EQ(count, 1) << pack << ": [Menu] " << key;
                if (access.empty()) continue;
                const auto [it, fresh] = owner.emplace(access, key);
                EXPECT_TRUE(fresh) << pack << ": [Menu] " << key << " and " << it->second
                                   << " share the access key " << access;
            }
        }
    }
}

TEST(ShippedPacks, AccessKeyReaderSeesLiteralAmpersandsAndAccentedLetters) {
    int count = 0;
    EXPECT_EQ(AccessKey("E&xit", count), "x");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(AccessKey("Save && &Quit", count), "q");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(AccessKey("\xC0 &Propos", count), "p");
    EXPECT_EQ(AccessKey("&\xC9tat", count), "\xC3\x89");
    EXPECT_EQ(AccessKey("Fish && Chips", count), "");
    EXPECT_EQ(count, 0);
    AccessKey("&One &Two", count);
    EXPECT_EQ(count, 2);
}

// The program decodes each text on its own: as UTF-8 when it is valid UTF-8, else as
// Windows-1252. An 8-bit pack must therefore have no text that happens to be valid UTF-8 with
// high bytes in it, and no byte that Windows-1252 leaves undefined.
TEST(ShippedPacks, DecodeAsOneEncodingWithCrLfLines) {
    const std::string undefined = "\x81\x8D\x8F\x90\x9D";
    for (const auto& pack : ShippedPacks()) {
        const std::string bytes = ReadFile(PackFile(pack));
        ASSERT_FALSE(bytes.empty()) << pack;
        for (size_t i = 0; i < bytes.size(); ++i) {
            const bool lf = bytes[i] == '\n', cr = bytes[i] == '\r';
            EXPECT_TRUE(!lf || (i > 0 && bytes[i - 1] == '\r')) << pack << ": bare LF at " << i;
            EXPECT_TRUE(!cr || (i + 1 < bytes.size() && bytes[i + 1] == '\n'))
                << pack << ": bare CR at " << i;
            const auto b = static_cast<unsigned char>(bytes[i]);
            EXPECT_FALSE(b < 0x20 && !lf && !cr) << pack << ": control byte at " << i;
        }
        const bool utf8 = platform::IsValidUtf8(bytes);
        EXPECT_TRUE(utf8 || bytes.find_first_of(undefined) == std::string::npos)
            << pack << ": a byte Windows-1252 leaves undefined";
        for (const auto& line : ParseLines(bytes)) {
            EXPECT_LE(line.value.size(), 1023u)
                << pack << ": [" << line.section << "] " << line.key;
            EXPECT_TRUE(utf8 || platform::DecodeForDisplay(line.value) ==
                                    platform::Cp1252ToUtf8(line.value))
                << pack << ": [" << line.section << "] " << line.key << " reads as UTF-8";
        }
    }
}

// The completion notice and the message about an earlier run tell the user which button to press.
TEST(ShippedPacks, NameTheRestoreButtonByItsCaption) {
    for (const auto& pack : ShippedPacks()) {
        const std::string button = Read(pack, "Voltooi scherm", "Button2");
        EXPECT_NE(Read(pack, "Voltooi scherm", "label3").find(button), std::string::npos) << pack;
        EXPECT_NE(Read(pack, "Meldingen", "Run_open").find(button), std::string::npos) << pack;
    }
}

}  // namespace
