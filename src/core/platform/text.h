#pragma once
// Display decoding of 8-bit texts.
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Windows compares file, section and key names without regard to case (ASCII letters here).
constexpr char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    }
    return true;
}
// The name as such comparisons see it: a key for sets and maps of names that ignore case.
inline std::string UpperCased(std::string_view s) {
    std::string upper(s);
    for (char& c : upper) c = UpperAscii(c);
    return upper;
}

// The value of a hexadecimal digit (either case), or -1 for any other character.
constexpr int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Appends one code point (below 0x110000) as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

// The UTF-8 byte order mark some editors put at the start of a text file.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsValidUtf8(std::string_view bytes);

// Pack and message texts: UTF-8 when valid, else Windows-1252. A leading UTF-8 BOM is dropped
// in both cases. Returns UTF-8.
std::string DecodeForDisplay(std::string_view bytes);

// Windows-1252 to UTF-8.
std::string Cp1252ToUtf8(std::string_view bytes);

}  // namespace platform
