// The compatibility layer's registry file and drive letters, read as a real prefix holds them.
#include "core/platform/registry_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "core/platform/paths.h"
#include "support/fixtures.h"

using platform::ParseRegistryStrings;
using platform::RegistryString;
namespace fs = std::filesystem;

namespace {

// As the layer writes it: doubled backslashes, \x escapes of UTF-16 units, binary values wrapped
// over lines; and what a damaged file adds.
const char kUserReg[] =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
    "\n"
    "#arch=win64\n"
    "\n"
    "[Software\\\\OpenRails\\\\ORTS] 1733700000\n"
    "#time=1db4a8e3b2c1f00\n"
    "\"Language\"=\"nl\"\n"
    "\n"
    "[Software\\\\OpenRails\\\\ORTS\\\\Folders] 1733700000\n"
    "#time=1db4a8e3b2c1f00\n"
    "\"Demo Pakket\"=\"C:\\\\users\\\\speler\\\\Documents\\\\Demo Pakket\"\r\n"
    "\"Caf\\x00e9\"=\"D:\\\\Routes\\\\Caf\\xe9 \\\"Noord\\\"\"\n"
    "\"Binair\"=hex:43,00,3a,00,5c,00,\\\n"
    "  00,00\n"
    "\"Uitbreidbaar\"=str(2):\"%USERPROFILE%\\\\Routes\"\n"
    "\"Getal\"=dword:00000001\n"
    "\"Kapot\"=\"C:\\\\nooit gesloten\n"
    "\"Trein\"=\"\\xd83d\\xde82\"\n"
    "\"Los\"=\"\\xd83d\"\n"
    "\"Ruw\"=\"\xff\xfe\"\n"
    "\"Demo Pakket\"=\"tweede\"\n"
    "\"Staart\"=\"C:\\\\x\" extra\n"
    "@=\"standaard\"\n"
    "\n"
    "[Software\\\\OpenRails\\\\ORTS\\\\Folders\\\\Sub] 1733700000\n"
    "\"Ander\"=\"C:\\\\elders\"\n"
    "[Kapotte sectie\n"
    "\"Na\"=\"C:\\\\niet hier\"\n";

}  // namespace

TEST(RegistryFile, ReadsTheStringValuesOfOneKeyAndSkipsEverythingElse) {
    const std::vector<RegistryString> expected = {
        {"Demo Pakket", "C:\\users\\speler\\Documents\\Demo Pakket"},
        {"Caf\xC3\xA9", "D:\\Routes\\Caf\xC3\xA9 \"Noord\""},
        {"Uitbreidbaar", "%USERPROFILE%\\Routes"},
        {"Trein", "\xF0\x9F\x9A\x82"},
        {"", "standaard"},
    };
    EXPECT_EQ(ParseRegistryStrings(kUserReg, "Software\\OpenRails\\ORTS\\Folders"), expected);
    EXPECT_EQ(ParseRegistryStrings(kUserReg, "SOFTWARE\\openrails\\orts\\folders"), expected);
    EXPECT_EQ(ParseRegistryStrings(kUserReg, "Software\\OpenRails\\ORTS"),
              (std::vector<RegistryString>{{"Language", "nl"}}));
    EXPECT_TRUE(ParseRegistryStrings(kUserReg, "Software\\Missing").empty());
    EXPECT_TRUE(ParseRegistryStrings("", "Software\\OpenRails\\ORTS\\Folders").empty());
    EXPECT_TRUE(ParseRegistryStrings(std::string(4096, '\0'), "").empty());
}

TEST(RegistryFile, HugeKeysAndValuesAreBoundedAndQuick) {
    std::string file = "[Software\\\\OpenRails\\\\ORTS\\\\Folders] 1\n";
    file += "\"Groot\"=\"" + std::string(1 << 20, 'a') + "\"\n";
    for (int i = 0; i < 10000; ++i)
        file +=
            "\"Profiel " + std::to_string(i) + "\"=\"C:\\\\Routes\\\\" + std::to_string(i) + "\"\n";
    const auto start = std::chrono::steady_clock::now();
    const std::vector<RegistryString> values =
        ParseRegistryStrings(file, "Software\\OpenRails\\ORTS\\Folders");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    ASSERT_EQ(values.size(), platform::kMaxRegistryStrings);
    EXPECT_EQ(values.front().name, "Profiel 0");  // the 1 MB value is skipped
}

TEST(RegistryFile, DriveLettersGoThroughThePrefixLinks) {
    if constexpr (platform::kWindows) GTEST_SKIP() << "drive letters are the system's own there";
    testsupport::TempDir prefix, elsewhere;
    fs::create_directories(prefix.path() / "drive_c" / "users" / "Speler" / "Demo Pakket");
    fs::create_directories(prefix.path() / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix.path() / "dosdevices" / "c:");
    fs::create_directory_symlink(elsewhere.path(), prefix.path() / "dosdevices" / "d:");
    const std::string drive = fs::canonical(prefix.path() / "drive_c").string();

    EXPECT_EQ(platform::HostFolderInPrefix(prefix.str(), "c:\\USERS\\speler\\demo pakket\\"),
              drive + "/users/Speler/Demo Pakket");
    EXPECT_EQ(platform::HostFolderInPrefix(prefix.str(), "D:"),
              fs::canonical(elsewhere.path()).string());
    EXPECT_EQ(platform::HostFolderInPrefix(prefix.str(), "E:\\Routes"), std::nullopt);
    EXPECT_EQ(platform::HostFolderInPrefix(prefix.str(), "\\\\server\\share"), std::nullopt);
    EXPECT_EQ(platform::HostFolderInPrefix(prefix.str(), "Cx\\Routes"), std::nullopt);
}
