#pragma once
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

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

}  // namespace platform
