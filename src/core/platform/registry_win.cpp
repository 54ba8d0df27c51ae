#include <string>

#include "core/platform/registry.h"
#include "core/platform/win32.h"

namespace platform {

namespace {

// Closes the key on every way out, the type error included.
class OpenKey {
  public:
    explicit OpenKey(HKEY key) : key_(key) {}
    ~OpenKey() { RegCloseKey(key_); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return key_; }

  private:
    HKEY key_;
};

// The simulator is a 32-bit program, so its installer wrote into the 32-bit view of the
// registry; a 64-bit build must look there too, as a 32-bit one does by itself.
constexpr REGSAM kView = KEY_WOW64_32KEY;

}  // namespace

std::optional<std::string> ReadLocalMachineString(std::string_view key, std::string_view value) {
    // A leading backslash means "from the root", as the registry object reads it; the API
    // itself wants neither that nor a trailing one.
    while (!key.empty() && key.front() == '\\') key.remove_prefix(1);
    while (!key.empty() && key.back() == '\\') key.remove_suffix(1);
    const std::string keyName(key);
    const std::string valueName(value);

    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyName.c_str(), 0, KEY_ALL_ACCESS | kView, &handle) !=
            ERROR_SUCCESS &&
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyName.c_str(), 0, KEY_READ | kView, &handle) !=
            ERROR_SUCCESS)
        return std::nullopt;
    OpenKey open(handle);

    // The value may change between asking its size and reading it: ask again until it fits.
    for (;;) {
        DWORD type = 0;
        DWORD size = 0;
        LONG status =
            RegQueryValueExA(open.get(), valueName.c_str(), nullptr, &type, nullptr, &size);
        if (status != ERROR_SUCCESS) return std::string();  // a missing value reads as empty
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            throw RegistryError("Invalid data type for '" + valueName + "'");
        std::string data(size, '\0');
        DWORD got = size;
        status = RegQueryValueExA(open.get(), valueName.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(data.data()), &got);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return std::string();
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            throw RegistryError("Invalid data type for '" + valueName + "'");
        // Taken as stored, without expanding, up to its terminating zero (which a value may lack).
        data.resize(got);
        if (const auto zero = data.find('\0'); zero != std::string::npos) data.resize(zero);
        return data;
    }
}

std::vector<RegistryString> ReadCurrentUserStrings(std::string_view key) {
    while (!key.empty() && key.front() == '\\') key.remove_prefix(1);
    while (!key.empty() && key.back() == '\\') key.remove_suffix(1);
    const std::string keyName(key);
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyName.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return {};
    OpenKey open(handle);

    std::vector<RegistryString> values;
    // Value names are at most 16383 characters; data longer than a folder name can be is left
    // unread (the call answers ERROR_MORE_DATA for it).
    std::string name(16384, '\0');
    std::string data(kMaxRegistryStringLength + 1, '\0');
    for (DWORD index = 0; values.size() < kMaxRegistryStrings && index < 16 * kMaxRegistryStrings;
         ++index) {
        DWORD nameSize = DWORD(name.size());
        DWORD dataSize = DWORD(data.size());
        DWORD type = 0;
        const LONG status = RegEnumValueA(open.get(), index, name.data(), &nameSize, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data.data()), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) continue;
        std::string value(data.data(), dataSize);
        if (const auto zero = value.find('\0'); zero != std::string::npos) value.resize(zero);
        values.push_back({std::string(name.data(), nameSize), std::move(value)});
    }
    return values;
}

std::optional<std::string> RegisteredFolderOnHost(const std::string& folder) {
    return folder;
}

}  // namespace platform
