#pragma once
// What the profile reader and writer share with each system's own file access
// (profile_linux.cpp, profile_win.cpp).
#include <cstddef>
#include <string>
#include <string_view>

namespace platform::profiledetail {

// The longest value a read returns, as the system's profile functions cut it.
inline constexpr std::size_t kMaxValueLength = 1023;

// Without blanks and tabs at either end.
std::string_view Trim(std::string_view s);

// Reading trims blanks and removes one pair of enclosing quotes; a value that would lose
// anything that way comes back inside double quotes, so it reads back exactly.
std::string EncodeValue(std::string_view value);

// Throws std::invalid_argument for text that would add lines of its own to the file or could
// not be found again.
void CheckWritable(std::string_view section, std::string_view key, std::string_view value);

}  // namespace platform::profiledetail
