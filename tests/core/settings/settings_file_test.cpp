// The settings file: values read afresh, the boolean rule, failing writes.
#include "core/settings/settings_file.h"

#include <gtest/gtest.h>

#include "core/platform/files.h"
#include "core/platform/profile.h"
#include "support/fixtures.h"

using settings::ParseProfileBool;

TEST(ProfileBool, ReadsIntegersTheWayTheRuntimeDoes) {
    for (const char* yes :
         {"1", "-1", "2", "0x1", "0X1F", "$10", " 7", "+3", "0xFFFFFFFF", "2147483647"}) {
        EXPECT_TRUE(ParseProfileBool(yes, false)) << yes;
    }
    for (const char* no : {"0", "-0", "0x0", "$0", "000"}) {
        EXPECT_FALSE(ParseProfileBool(no, true)) << no;
    }
    // Not an integer: the default, whatever it is.
    for (const char* junk :
         {"", "yes", "true", "0x", "1 ", "1.0", "--1", "$", "2147483648", "0x100000000", "\x01"}) {
        EXPECT_FALSE(ParseProfileBool(junk, false)) << junk;
        EXPECT_TRUE(ParseProfileBool(junk, true)) << junk;
    }
}

TEST(SettingsFile, EveryReadSeesTheLastWriteAndMissingValuesAreEmpty) {
    testsupport::ProgramFolder prog;
    EXPECT_EQ(settings::ReadString("Programma", "Taalkeuze"), "");
    EXPECT_FALSE(settings::ReadBool("Programma", "Taalscherm", false));
    settings::WriteString("Programma", "Taalkeuze", "English");
    settings::WriteBool("Programma", "Taalscherm", true);
    settings::WriteString("msts locatie", "Pad", "/games/TS/");
    EXPECT_EQ(settings::ReadString("PROGRAMMA", "taalkeuze"), "English");
    EXPECT_TRUE(settings::ReadBool("Programma", "Taalscherm", false));
    EXPECT_EQ(settings::ReadString("msts locatie", "Pad"), "/games/TS/");
    // Another program's edit is seen at the next read: nothing is cached.
    testsupport::WriteFile(prog.settingsFile(),
                           "[programma]\nTaalscherm=0x0\ntaalKEUZE = Deutsch\n");
    EXPECT_EQ(settings::ReadString("Programma", "Taalkeuze"), "Deutsch");
    EXPECT_FALSE(settings::ReadBool("Programma", "Taalscherm", true));
}

TEST(SettingsFile, AFailedWriteNamesTheFileAndChangesNothing) {
    testsupport::ProgramFolder prog;
    prog.WriteSettings("[Programma]\r\nTaalkeuze=Nederlands\r\n");
    ASSERT_TRUE(platform::SetReadOnly(prog.settingsFile().string(), true));
    try {
        settings::WriteString("Programma", "Taalkeuze", "English");
        FAIL() << "the write should fail";
    } catch (const platform::ProfileWriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + settings::SettingsFile());
    }
    EXPECT_EQ(settings::ReadString("Programma", "Taalkeuze"), "Nederlands");

    // The program never creates Dump itself. (Windows deletes no read-only file, not even here.)
    ASSERT_TRUE(platform::SetReadOnly(prog.settingsFile().string(), false));
    std::filesystem::remove_all(prog.dump());
    EXPECT_THROW(settings::WriteBool("Programma", "Taalscherm", true), platform::ProfileWriteError);
    EXPECT_FALSE(std::filesystem::exists(prog.dump()));
}
