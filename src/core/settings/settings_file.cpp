#include "core/settings/settings_file.h"

#include <cstdint>

#include "core/platform/paths.h"
#include "core/platform/profile.h"
#include "core/platform/text.h"

namespace settings {
namespace {

// A 32-bit integer as settings files have always held them: leading blanks, a sign, then decimal
// digits or '$' (or 'x') and hex digits, nothing after. Hex may use the full 32 bits.
bool ParseInteger(std::string_view s, std::int64_t& out) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    bool hex = false;
    if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == s.size()) return false;
    std::uint64_t value = 0;
    for (; i < s.size(); ++i) {
        const int digit =
            hex ? platform::HexDigit(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
        if (digit < 0) return false;
        value = value * (hex ? 16 : 10) + std::uint64_t(digit);
        if (value > (hex ? 0xFFFFFFFFull : 0x80000000ull)) return false;
    }
    if (hex) {
        out = std::int32_t(std::uint32_t(value));
        if (negative) out = -out;
    } else {
        if (!negative && value > 0x7FFFFFFFull) return false;
        out = negative ? -std::int64_t(value) : std::int64_t(value);
    }
    return true;
}

}  // namespace

std::string SettingsFile() {
    return platform::DumpPath("All_dat.ini");
}

std::string ReadString(std::string_view section, std::string_view key) {
    return platform::GetProfileString(SettingsFile(), section, key, "");
}

void WriteString(std::string_view section, std::string_view key, std::string_view value) {
    platform::WriteProfileString(SettingsFile(), section, key, value);
}

bool ParseProfileBool(std::string_view text, bool def) {
    std::int64_t value = 0;
    return ParseInteger(text, value) ? value != 0 : def;
}

std::string StoredSimulatorFolder() {
    return ReadString(kLocationSection, kPathKey);
}

bool ReadBool(std::string_view section, std::string_view key, bool def) {
    return ParseProfileBool(ReadString(section, key), def);
}

void WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

}  // namespace settings
