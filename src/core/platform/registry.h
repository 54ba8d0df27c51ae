#pragma once
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class RegistryError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Opens HKEY_LOCAL_MACHINE\key (full access, else read access; never created) and reads a string
// value. nullopt: the key did not open. An empty string: the key opened but the value is missing.
// A value of another type throws RegistryError("Invalid data type for '<value>'").
// Leading and trailing backslashes of `key` are ignored. Windows reads the 32-bit view, where
// the simulator's installer writes. Linux has no registry: always nullopt.
std::optional<std::string> ReadLocalMachineString(std::string_view key, std::string_view value);

// A string value of a key: its name and its text.
struct RegistryString {
    std::string name;
    std::string value;
    bool operator==(const RegistryString&) const = default;
};

// Other programs' data is never trusted to be small: more values than this, and longer ones (no
// folder name is), are left unread.
inline constexpr std::size_t kMaxRegistryStrings = 256;
inline constexpr std::size_t kMaxRegistryStringLength = 32767;

// The plain and expandable string values of HKEY_CURRENT_USER\key (not expanded), in stored
// order; values of other types, too long or not readable as text are skipped. Nothing when the
// key is missing. Linux reads the compatibility layer's copy: user.reg of the prefix in
// WINEPREFIX, else ~/.wine.
std::vector<RegistryString> ReadCurrentUserStrings(std::string_view key);

// A folder as a program under the registry names it, as this system reaches it: Windows takes it
// as it is; Linux maps its drive letter through the prefix's dosdevices links. Nothing when it
// cannot be mapped.
std::optional<std::string> RegisteredFolderOnHost(const std::string& folder);

}  // namespace platform
