#include "core/platform/profile.h"

#include <gtest/gtest.h>

#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "support/fixtures.h"

namespace {

using platform::ProfileLookup;
using platform::ProfileUpdate;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

TEST(ProfileLookup, NamesIgnoreCaseAndFirstMatchWins) {
    const std::string ini =
        "; [Programma] in a comment is no section\r\n"
        "Taalkeuze=outside any section\r\n"
        "[ Programma ]\r\n"
        "  TaalKeuze  =  English  \r\n"
        "taalkeuze=second\r\n"
        "[programma]\r\n"
        "Taalscherm=1\r\n";
    EXPECT_EQ(ProfileLookup(ini, "PROGRAMMA", "taalkeuze", "def"), "English");
    // Only the first section of a name counts, as the Windows functions do.
    EXPECT_EQ(ProfileLookup(ini, "Programma", "Taalscherm", "def"), "def");
    EXPECT_EQ(ProfileLookup(ini, "Missing", "Taalkeuze", "def"), "def");
    EXPECT_EQ(ProfileLookup("", "Programma", "Taalkeuze", ""), "");
}

TEST(ProfileLookup, QuotesAndLengthLimit) {
    const std::string ini =
        "[s]\nd=\"  a b \"\nq='x'\nmixed=\"x'\nnested=\"\"x\"\"\nempty=\nlong=" +
        std::string(1100, 'v') + "\n";
    EXPECT_EQ(ProfileLookup(ini, "s", "d", ""), "  a b ");
    EXPECT_EQ(ProfileLookup(ini, "s", "q", ""), "x");
    EXPECT_EQ(ProfileLookup(ini, "s", "mixed", ""), "\"x'");
    EXPECT_EQ(ProfileLookup(ini, "s", "nested", ""), "\"x\"");
    EXPECT_EQ(ProfileLookup(ini, "s", "empty", "def"), "");
    EXPECT_EQ(ProfileLookup(ini, "s", "long", ""), std::string(1023, 'v'));
}

TEST(ProfileLookup, ToleratesBomLineEndsAndJunk) {
    EXPECT_EQ(ProfileLookup("\xEF\xBB\xBF[a]\r\nk=crlf\r\n", "a", "k", ""), "crlf");
    EXPECT_EQ(ProfileLookup("[a]\nk=lf", "a", "k", ""), "lf");
    std::string junk("\0\xFF[a\x01]\n\r\r=\n", 11);
    junk += std::string(100000, 'x') + std::string("\n[a]\nk=v\0w\n", 11);
    EXPECT_EQ(ProfileLookup(junk, "a", "k", ""), std::string("v\0w", 3));
    EXPECT_EQ(ProfileLookup(junk, "a", "", "def"), "def");
}

TEST(ProfileUpdate, ChangesOnlyTheKeysLine) {
    const std::string ini =
        "\xEF\xBB\xBF; comment\n[Programma]\n  TAALKEUZE = Nederlands "
        "\r\nTaalscherm=1\n\n[x]\nTaalkeuze=keep";
    EXPECT_EQ(ProfileUpdate(ini, "programma", "Taalkeuze", "English"),
              "\xEF\xBB\xBF; "
              "comment\n[Programma]\nTAALKEUZE=English\r\nTaalscherm=1\n\n[x]\nTaalkeuze=keep");
}

TEST(ProfileUpdate, PlacesNewKeysAndSections) {
    // A new key goes after the section's last line, before the blank lines that part sections.
    EXPECT_EQ(ProfileUpdate("[a]\nk=1\n\n\n[b]\n", "A", "n", "2"), "[a]\nk=1\nn=2\r\n\n\n[b]\n");
    // The last line of a file may lack its line end.
    EXPECT_EQ(ProfileUpdate("[a]\nk=1", "a", "n", "2"), "[a]\nk=1\r\nn=2\r\n");
    EXPECT_EQ(ProfileUpdate("[a]\nk=1\r", "a", "n", "2"), "[a]\nk=1\r\nn=2\r\n");
    EXPECT_EQ(ProfileUpdate("[a]\nk=1", "msts locatie", "Pad", "/ts"),
              "[a]\nk=1\r\n[msts locatie]\r\nPad=/ts\r\n");
    EXPECT_EQ(ProfileUpdate("", "Programma", "Taalscherm", "1"), "[Programma]\r\nTaalscherm=1\r\n");
    EXPECT_EQ(ProfileUpdate("\xEF\xBB\xBF", "a", "k", "v"), "\xEF\xBB\xBF[a]\r\nk=v\r\n");
}

TEST(ProfileUpdate, EveryValueReadsBackUnchanged) {
    const std::string start = "[s]\nother=x\n";
    for (std::string value : {"", " lead", "trail\t", "\"quoted\"", "'single'", "\"", "''", "a=b;c",
                              "\"x'", "  \"both\"  ", "/path with blanks/"}) {
        std::string once = ProfileUpdate(start, "s", "k", value);
        EXPECT_EQ(ProfileLookup(once, "s", "k", "def"), value) << once;
        std::string twice = ProfileUpdate(once, "S", "K", value);
        EXPECT_EQ(twice, once) << "rewriting the same value must not move or grow the line";
        EXPECT_EQ(ProfileLookup(twice, "s", "other", ""), "x");
    }
}

TEST(ProfileUpdate, RefusesTextThatWouldAddLines) {
    EXPECT_THROW(ProfileUpdate("", "s", "k", "a\r\n[evil]"), std::invalid_argument);
    EXPECT_THROW(ProfileUpdate("", "s\n", "k", "v"), std::invalid_argument);
    EXPECT_THROW(ProfileUpdate("", "s", "k=x", "v"), std::invalid_argument);
    EXPECT_THROW(ProfileUpdate("", "s]x", "k", "v"), std::invalid_argument);
}

TEST(ProfileFile, WritesCreateAndKeepTheFile) {
    TempDir dir;
    const std::string file = platform::JoinPath(dir.str(), "All_dat.ini");
    EXPECT_EQ(platform::GetProfileString(file, "Programma", "Taalkeuze", "none"), "none");
    platform::WriteProfileString(file, "Programma", "Taalkeuze", "English");
    platform::WriteProfileString(file, "msts locatie", "Pad", "C:\\TS");
    EXPECT_EQ(ReadFile(file),
              "[Programma]\r\nTaalkeuze=English\r\n[msts locatie]\r\nPad=C:\\TS\r\n");
    // The file is found whatever the letter case of the name used.
    EXPECT_EQ(platform::GetProfileString(platform::JoinPath(dir.str(), "ALL_DAT.INI"), "PROGRAMMA",
                                         "TAALKEUZE", ""),
              "English");
}

TEST(ProfileFile, AWriteLeavesEveryOtherValueAsItReads) {
    // The system's writer may lay the file out anew (wine does); what must hold on every backend
    // is that the other values read as before and the written one reads back exactly.
    TempDir dir;
    const std::string file = platform::JoinPath(dir.str(), "All_dat.ini");
    WriteFile(file,
              "; settings\n[Programma]\n  Taalkeuze = English  \n\nTaalscherm=0x1\n"
              "[msts locatie]\nPad=\"C:\\TS \"\n");
    platform::WriteProfileString(file, "PROGRAMMA", "Taalscherm", "1");
    platform::WriteProfileString(file, "Programma", "Nieuw", " blanks and 'quotes' ");
    EXPECT_EQ(platform::GetProfileString(file, "Programma", "Taalkeuze", ""), "English");
    EXPECT_EQ(platform::GetProfileString(file, "Programma", "Taalscherm", ""), "1");
    EXPECT_EQ(platform::GetProfileString(file, "Programma", "Nieuw", ""), " blanks and 'quotes' ");
    EXPECT_EQ(platform::GetProfileString(file, "msts locatie", "Pad", ""), "C:\\TS ");
    // A value that would add lines of its own is refused, and the file stays readable.
    EXPECT_THROW(platform::WriteProfileString(file, "Programma", "Taalkeuze", "x\r\n[evil]"),
                 platform::ProfileWriteError);
    EXPECT_EQ(platform::GetProfileString(file, "Programma", "Taalkeuze", ""), "English");
}

TEST(ProfileFile, FailedWriteReportsThePathAndKeepsTheFile) {
    TempDir dir;
    const std::string file = platform::JoinPath(dir.str(), "All_dat.ini");
    WriteFile(file, "[Programma]\nTaalkeuze=Nederlands\n");
    ASSERT_TRUE(platform::SetReadOnly(file, true));
    const std::string missing = platform::JoinPath(dir.str(), "Dump/All_dat.ini");
    const std::string folder = platform::JoinPath(dir.str(), "folder.ini");
    ASSERT_TRUE(platform::CreateFolder(folder));
    for (const std::string& target : {file, missing, folder}) {
        try {
            platform::WriteProfileString(target, "Programma", "Taalkeuze", "English");
            ADD_FAILURE() << "no error for " << target;
        } catch (const platform::ProfileWriteError& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + target);
        }
    }
    EXPECT_EQ(ReadFile(file), "[Programma]\nTaalkeuze=Nederlands\n");
    EXPECT_EQ(platform::GetProfileString(file, "Programma", "Taalkeuze", ""), "Nederlands");
    EXPECT_FALSE(testsupport::fs::exists(platform::JoinPath(dir.str(), "Dump")));
}

// A settings file, pack or run record must be a regular file of at most kMaxDataFileSize: anything
// else reads as a missing one at once, and a file too big to read is not rewritten either.
TEST(ProfileFile, NonFilesAndOversizedFilesReadAsMissingAtOnce) {
    TempDir dir;
    const std::string header = "[Programma]\r\nTaalkeuze=Big\r\n";
    auto padded = [&](std::uintmax_t size) {
        std::string bytes = header;
        while (bytes.size() + 66 <= size) bytes += ";" + std::string(63, 'x') + "\r\n";
        return bytes + std::string(size - bytes.size(), ';');
    };
    const std::string atLimit = platform::JoinPath(dir.str(), "limit.ini");
    const std::string tooBig = platform::JoinPath(dir.str(), "big.ini");
    WriteFile(atLimit, padded(platform::kMaxDataFileSize));
    WriteFile(tooBig, padded(platform::kMaxDataFileSize + 1));
    std::vector<std::string> unreadable = {tooBig, platform::JoinPath(dir.str(), "folder.ini")};
    testsupport::fs::create_directory(unreadable.back());
    const testsupport::fs::path fifo = dir.path() / "fifo.ini";
    testsupport::FifoWatchdog watchdog({fifo});
    if constexpr (!platform::kWindows) {
        testsupport::MakeFifo(fifo);
        unreadable.push_back(fifo.string());
        testsupport::fs::create_symlink("/dev/zero", dir.path() / "device.ini");
        unreadable.push_back((dir.path() / "device.ini").string());
        EXPECT_FALSE(platform::ReadFileBytes(fifo.string()));
    }
    for (const std::string& file : unreadable) {
        EXPECT_EQ(platform::GetProfileString(file, "Programma", "Taalkeuze", "none"), "none")
            << file;
        EXPECT_FALSE(platform::ReadDataFile(file)) << file;
    }
    EXPECT_EQ(platform::GetProfileString(atLimit, "Programma", "Taalkeuze", ""), "Big");
    const std::string before = ReadFile(tooBig);
    EXPECT_THROW(platform::WriteProfileString(tooBig, "Programma", "Taalkeuze", "English"),
                 platform::ProfileWriteError);
    EXPECT_EQ(ReadFile(tooBig), before);
    if constexpr (!platform::kWindows) {
        EXPECT_FALSE(watchdog.fired()) << "a read waited on the FIFO";
    }
}

}  // namespace
