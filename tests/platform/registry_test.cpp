// The registry lookup of the simulator's folder. Only Windows has a registry; elsewhere the
// lookup finds nothing and there is nothing to test.
#include "platform/registry.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "platform/win32.h"

namespace {

using platform::ReadLocalMachineString;

// A key of the tests' own under HKEY_LOCAL_MACHINE, written where a 32-bit installer writes
// (the 32-bit view), and removed again afterwards.
class RegistryTest : public ::testing::Test {
  protected:
    static constexpr const char* kParent = "Software\\ZEL Nevora tests";
    static constexpr const char* kKey = "Software\\ZEL Nevora tests\\1.0";
    HKEY key = nullptr;

    void SetUp() override {
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0,
                            KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            GTEST_SKIP() << "HKEY_LOCAL_MACHINE cannot be written here (no administrator rights)";
    }
    void TearDown() override {
        if (key != nullptr) RegCloseKey(key);
        for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
            RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kKey, view, 0);
            RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kParent, view, 0);
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
    const std::string named = std::string("\\") + kKey + "\\";
    EXPECT_EQ(ReadLocalMachineString(named, "EXE Path"), "C:\\Games\\Train Simulator\\");
    EXPECT_EQ(ReadLocalMachineString(kKey, "exe path"), "C:\\Games\\Train Simulator\\");
    EXPECT_EQ(ReadLocalMachineString(kKey, "Expandable"), "%ProgramFiles%\\TS");
    EXPECT_EQ(ReadLocalMachineString(kKey, "Unterminated"), "abc");
    EXPECT_EQ(ReadLocalMachineString(kKey, "Empty"), "");
    // The key opened but holds no such value: empty. No key: nothing, and none is created.
    EXPECT_EQ(ReadLocalMachineString(kKey, "Missing"), "");
    EXPECT_EQ(ReadLocalMachineString(std::string(kParent) + "\\2.0", "EXE Path"), std::nullopt);
    HKEY probe = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(kParent) + "\\2.0").c_str(), 0,
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
            ReadLocalMachineString(kKey, name);
            ADD_FAILURE() << "no error for " << name;
        } catch (const platform::RegistryError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("Invalid data type for '") + name + "'");
        }
    }
}

TEST_F(RegistryTest, OnlyThe32BitViewCounts) {
    // Only the 32-bit view counts: a 64-bit build must not see a key that only 64-bit programs
    // wrote, just as the 32-bit original did not.
    ASSERT_EQ(RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kKey, KEY_WOW64_32KEY, 0), ERROR_SUCCESS);
    HKEY wide = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0,
                              KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &wide, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(wide, "EXE Path", 0, REG_SZ, reinterpret_cast<const BYTE*>("D:\\64"), 6);
    RegCloseKey(wide);
    EXPECT_EQ(ReadLocalMachineString(kKey, "EXE Path"), std::nullopt);
}

}  // namespace
#endif
