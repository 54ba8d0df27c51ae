#pragma once
// The Windows profile (INI) functions.
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>

namespace platform {

// Raised when a profile write fails; message "Unable to write to <full path>".
class ProfileWriteError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// GetPrivateProfileStringA: section and key match case-insensitively, the first match wins,
// blanks around names and values are trimmed, one pair of enclosing quotes is removed, the value
// is cut to 1023 characters; a missing file, section or key gives `def`.
std::string GetProfileString(std::string_view file, std::string_view section, std::string_view key,
                             std::string_view def);

// WritePrivateProfileStringA: changes only the key's own line, creates the section and the file
// as needed, writes CRLF, replaces the file atomically. Throws ProfileWriteError on failure.
void WriteProfileString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view value);

// Pure forms of the two, on file contents, for tests and fuzzing. A value that reading would
// change (blanks at either end, or enclosing quotes) is written inside double quotes, so every
// value reads back as written (up to the 1023-character cut). ProfileUpdate throws
// std::invalid_argument for a line break in any argument, a ']' in the section name or an '='
// or a leading ';' or '[' in the key: such text would add lines of its own to the file.
std::string ProfileLookup(std::string_view contents, std::string_view section, std::string_view key,
                          std::string_view def);
std::string ProfileUpdate(std::string_view contents, std::string_view section, std::string_view key,
                          std::string_view value);

// One section's keys read in one pass, each then found at once with ProfileLookup's rules: for a
// file of thousands of keys, where a lookup per key would read it from the top every time.
class ProfileSection {
  public:
    ProfileSection(std::string_view contents, std::string_view section);
    // As ProfileLookup(contents, section, key, def).
    std::string Get(std::string_view key, std::string_view def = {}) const;

  private:
    std::unordered_map<std::string, std::string> values_;  // by upper-cased key
};

}  // namespace platform
