#pragma once
// The compatibility layer's registry files (user.reg, system.reg of a prefix) and its drive
// letters. Plain text of its own format: sections "[Software\\Vendor\\Key] <time>" and values
// "name"="text" with backslash escapes. Damaged lines are skipped, never fatal.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/registry.h"

namespace platform {

// The largest registry file read: real ones reach tens of MB with many programs installed.
inline constexpr std::uintmax_t kMaxRegistryFileSize = std::uintmax_t{64} << 20;

// The string values (plain and expandable) of `key` (single backslashes, no leading or trailing
// one, compared ignoring ASCII case) in `file`, in one pass, decoded to UTF-8. Other types,
// values longer than kMaxRegistryStringLength or not decoding to valid UTF-8 are skipped; at
// most kMaxRegistryStrings are returned; a name given twice counts once.
std::vector<RegistryString> ParseRegistryStrings(std::string_view file, std::string_view key);

// A Windows folder ("C:\\Users\\me\\Routes") as this system reaches it through the prefix's
// dosdevices/<letter>: link, spelled as on disk where it exists. Nothing for a path without a
// drive letter or a letter the prefix does not map.
std::optional<std::string> HostFolderInPrefix(const std::string& prefix, const std::string& folder);

}  // namespace platform
