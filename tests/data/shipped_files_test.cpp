// The rest of what ships: the About pictures, the help documents and pages, and the empty data
// folders.
#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <set>

#include "support/fixtures.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::SourceDir;

std::uint32_t BigEndian32(const std::string& b, size_t at) {
    return std::uint32_t(std::uint8_t(b[at])) << 24 | std::uint32_t(std::uint8_t(b[at + 1])) << 16 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 8 | std::uint32_t(std::uint8_t(b[at + 3]));
}

TEST(AboutPictures, Are24BitPicturesOfTheWindowsSizes) {
    const struct {
        const char* name;
        std::uint32_t width, height;
    } pictures[] = {{"about_train.png", 120, 130}, {"about_icon.png", 48, 48}};
    for (const auto& p : pictures) {
        std::string png = ReadFile(SourceDir() / "src" / "gui" / "about" / "images" / p.name);
        ASSERT_GE(png.size(), 33u) << p.name;
        EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n") << p.name;
        EXPECT_EQ(png.substr(12, 4), "IHDR") << p.name;
        EXPECT_EQ(BigEndian32(png, 16), p.width) << p.name;
        EXPECT_EQ(BigEndian32(png, 20), p.height) << p.name;
        EXPECT_EQ(png[24], 8) << p.name << ": 8 bits per channel";
        EXPECT_EQ(png[25], 2) << p.name << ": RGB without alpha";
    }
}

// The program hands these to the shell by their fixed names; Word 97 files are OLE2 compound
// files with a "WordDocument" stream, which every .doc reader opens.
TEST(HelpDocuments, AreWord97FilesBesideTheProgram) {
    const std::string stream("W\0o\0r\0d\0D\0o\0c\0u\0m\0e\0n\0t\0", 24);
    for (const char* name : {"ZEL Nevora Help (Nederlands).doc", "ZEL Nevora Help (English).doc"}) {
        std::string doc = ReadFile(SourceDir() / "data" / name);
        ASSERT_GT(doc.size(), 20000u) << name << " is missing or too small to be a manual";
        EXPECT_EQ(doc.substr(0, 8), "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") << name;
        EXPECT_NE(doc.find(stream), std::string::npos) << name;
    }
}

// The build ships each picture a page names from docs/ into help-pictures/ beside the page; the
// page must read with no network, so nothing comes from elsewhere.
TEST(HelpPages, ShowScreenshotsTheBuildShipsAndNeedNothingFromElsewhere) {
    static const std::regex image(R"re(<img src="help-pictures/([^"]+)"[^>]* alt="[^"]+">)re");
    static const std::regex outside(R"re((src|href)="[a-z]+:|<link|@import)re");
    for (const char* page : {"help_nl.html", "help_en.html"}) {
        const std::string html = ReadFile(SourceDir() / "docs" / "help" / page);
        std::set<std::string> shown;
        for (std::sregex_iterator i(html.begin(), html.end(), image), end; i != end; ++i) {
            shown.insert((*i)[1]);
            const std::string png = ReadFile(SourceDir() / "docs" / (*i)[1].str());
            EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n") << page << " shows " << (*i)[1];
        }
        for (const char* picture : {"main-window.png", "completion-page.png", "language-window.png",
                                    "locator-window.png"})
            EXPECT_TRUE(shown.count(picture)) << page << " lacks " << picture;
        EXPECT_FALSE(std::regex_search(html, outside)) << page << " reaches outside the folder";
    }
}

TEST(ShippedFolders, BackupAndLanguageFoldersShip) {
    EXPECT_TRUE(fs::is_directory(SourceDir() / "data" / "Dump" / "Back_up"));
    EXPECT_TRUE(fs::is_directory(SourceDir() / "data" / "Dump" / "Languages"));
}

}  // namespace
