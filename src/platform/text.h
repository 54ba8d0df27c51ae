#pragma once
// Display decoding of 8-bit texts.
#include <string>
#include <string_view>

namespace platform {

bool IsValidUtf8(std::string_view bytes);

// Pack and message texts: UTF-8 when valid, else Windows-1252. A leading UTF-8 BOM is dropped
// in both cases. Returns UTF-8.
std::string DecodeForDisplay(std::string_view bytes);

// Windows-1252 to UTF-8.
std::string Cp1252ToUtf8(std::string_view bytes);

}  // namespace platform
