// The registry lookup of the simulator's folder. Only Windows has a registry; elsewhere the
// lookup finds nothing and there is nothing to test.
#include <gtest/gtest.h>

#include "core/platform/registry.h"
#include "core/platform/win32.h"

namespace {

using platform::ReadLocalMachineString;

// A key of each test's own under HKEY_LOCAL_MACHINE, written where a 32-bit installer writes
// (the 32-bit view), and removed again afterwards. Tests run in parallel against one registry,
// so no two share a key.
class RegistryTest : public ::testing::Test {
  protected:
    std::string parent;
    std::string keyPath;
    HKEY key = nullptr;

    void SetUp() override {
        parent = std::string("Software\\ZEL Nevora tests ") +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        keyPath = parent + "\\1.0";
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            GTEST_SKIP() << "HKEY_LOCAL_MACHINE cannot be written here (no administrator rights)";
    }
    void TearDown() override {
        if (key != nullptr) RegCloseKey(key);
        for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
            RegDeleteKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), view, 0);
            RegDeleteKeyExA(HKEY_LOCAL_MACHINE, parent.c_str(), view, 0);
        }
    }
    void Set(const char* name, DWORD type, const std::string& data) const {
        ASSERT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }
};

TEST_F(RegistryTest, StringValuesAreTakenAsStored) {
    Set("EXE Path", REG_SZ, std::string("C:\\Games\\Train Simulator\\\0", 27));
    Set("Expandable", REG_EXPAND_SZ, std::string("%ProgramFiles%\\TS\0", 18));
    Set("Unterminated", REG_SZ, "abc");
    Set("Empty", REG_SZ, std::string("\0", 1));
    // The key as the locator names it, with a backslash at either end.
    const std::string named = "\\" + keyPath + "\\";
    EXPECT_EQ(ReadLocalMachineString(named, "EXE Path"), "C:\\Games\\Train Simulator\\");
    EXPECT_EQ(ReadLocalMachineString(keyPath, "exe path"), "C:\\Games\\Train Simulator\\");
    EXPECT_EQ(ReadLocalMachineString(keyPath, "Expandable"), "%ProgramFiles%\\TS");
    EXPECT_EQ(ReadLocalMachineString(keyPath, "Unterminated"), "abc");
    EXPECT_EQ(ReadLocalMachineString(keyPath, "Empty"), "");
    // The key opened but holds no such value: empty. No key: nothing, and none is created.
    EXPECT_EQ(ReadLocalMachineString(keyPath, "Missing"), "");
    EXPECT_EQ(ReadLocalMachineString(parent + "\\2.0", "EXE Path"), std::nullopt);
    HKEY probe = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, (parent + "\\2.0").c_str(), 0,
                            KEY_READ | KEY_WOW64_32KEY, &probe),
              ERROR_SUCCESS);
}

TEST_F(RegistryTest, AValueOfAnotherTypeIsAnError) {
    const DWORD number = 42;
    Set("EXE Path", REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof number));
    Set("Binary", REG_BINARY, "C:\\TS");
    Set("Multi", REG_MULTI_SZ, std::string("C:\\TS\0\0", 7));
    for (const char* name : {"EXE Path", "Binary", "Multi"}) {
        try {
            ReadLocalMachineString(keyPath, name);
            ADD_FAILURE() << "no error for " << name;
        } catch (const platform::RegistryError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("Invalid data type for '") + name + "'");
        }
    }
}

TEST_F(RegistryTest, OnlyThe32BitViewCounts) {
    // Only the 32-bit view counts: the simulator's installer is 32-bit, so a key that only
    // 64-bit programs wrote is not its key, whichever build reads it.
    ASSERT_EQ(RegDeleteKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), KEY_WOW64_32KEY, 0),
              ERROR_SUCCESS);
    HKEY wide = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &wide, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(wide, "EXE Path", 0, REG_SZ, reinterpret_cast<const BYTE*>("D:\\64"), 6);
    RegCloseKey(wide);
    EXPECT_EQ(ReadLocalMachineString(keyPath, "EXE Path"), std::nullopt);
}

// Open Rails' profiles: every string value of a current-user key, nothing else.
TEST(CurrentUserRegistry, StringValuesInStoredOrderAndNothingElse) {
    const std::string keyPath = "Software\\ZEL Nevora tests current user\\Folders";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    auto set = [&](const char* name, DWORD type, const std::string& data) {
        RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(data.size()));
    };
    set("Demo", REG_SZ, std::string("C:\\Demo\0", 8));
    set("Binary", REG_BINARY, "C:\\TS");
    set("Huge", REG_SZ, std::string(1 << 20, 'a'));
    set("Expandable", REG_EXPAND_SZ, std::string("%USERPROFILE%\\OR\0", 18));
    RegCloseKey(key);
    const std::vector<platform::RegistryString> values =
        platform::ReadCurrentUserStrings("\\" + keyPath);
    RegDeleteKeyA(HKEY_CURRENT_USER, keyPath.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ZEL Nevora tests current user");
    EXPECT_EQ(values, (std::vector<platform::RegistryString>{{"Demo", "C:\\Demo"},
                                                             {"Expandable", "%USERPROFILE%\\OR"}}));
    EXPECT_TRUE(platform::ReadCurrentUserStrings(keyPath).empty());
}

}  // namespace
