#include "core/platform/registry_file.h"

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/text.h"

namespace platform {

namespace {

// Reads an escaped text from `line` at `pos` up to the unescaped `end` character, leaving `pos`
// just past it. The file writes characters outside ASCII as \x escapes of UTF-16 units, so
// surrogate pairs are joined here; a lone one, an unclosed text or bytes that are no UTF-8 give
// nothing. Also nothing once the text grows past `limit`.
std::optional<std::string> ReadEscaped(std::string_view line, std::size_t& pos, char end,
                                       std::size_t limit) {
    std::string out;
    std::uint32_t highSurrogate = 0;
    auto unit = [&](std::uint32_t u) {
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (highSurrogate) return false;
            highSurrogate = u;
            return true;
        }
        if (u >= 0xDC00 && u <= 0xDFFF) {
            if (!highSurrogate) return false;
            AppendUtf8(out, char32_t(0x10000 + ((highSurrogate - 0xD800) << 10) + (u - 0xDC00)));
            highSurrogate = 0;
            return true;
        }
        if (highSurrogate) return false;
        AppendUtf8(out, char32_t(u));
        return true;
    };
    while (pos < line.size()) {
        if (out.size() > limit) return std::nullopt;
        const char c = line[pos++];
        if (c == end) {
            if (highSurrogate || !IsValidUtf8(out)) return std::nullopt;
            return out;
        }
        if (c != '\\') {
            if (highSurrogate) return std::nullopt;
            out += c;  // raw bytes pass through; the whole text is checked at its end
            continue;
        }
        if (pos >= line.size()) return std::nullopt;
        const char e = line[pos++];
        std::uint32_t u = 0;
        switch (e) {
            case 'a':
                u = '\a';
                break;
            case 'b':
                u = '\b';
                break;
            case 'e':
                u = 0x1B;
                break;
            case 'f':
                u = '\f';
                break;
            case 'n':
                u = '\n';
                break;
            case 'r':
                u = '\r';
                break;
            case 't':
                u = '\t';
                break;
            case 'v':
                u = '\v';
                break;
            case 'x': {
                int digits = 0;
                while (digits < 4 && pos < line.size() && HexDigit(line[pos]) >= 0) {
                    u = u * 16 + std::uint32_t(HexDigit(line[pos++]));
                    ++digits;
                }
                if (digits == 0) return std::nullopt;
                break;
            }
            default:
                if (e >= '0' && e <= '7') {
                    u = std::uint32_t(e - '0');
                    for (int digits = 1;
                         digits < 3 && pos < line.size() && line[pos] >= '0' && line[pos] <= '7';
                         ++digits)
                        u = u * 8 + std::uint32_t(line[pos++] - '0');
                } else {
                    u = static_cast<unsigned char>(e);  // \\, \", \[ and \] stand for themselves
                    if (u >= 0x80) return std::nullopt;
                }
        }
        if (!unit(u)) return std::nullopt;
    }
    return std::nullopt;  // the line ended inside the text
}

// The key of a section line "[Key\\Name] 1700000000", or nothing for a damaged one.
std::optional<std::string> SectionKey(std::string_view line) {
    std::size_t pos = 1;
    return ReadEscaped(line, pos, ']', kMaxRegistryStringLength);
}

// A value line of the section: its name and, for a string value, its text.
std::optional<RegistryString> StringValue(std::string_view line) {
    std::size_t pos = 0;
    RegistryString value;
    if (line[0] == '@') {
        pos = 1;  // the key's default value has no name
    } else {
        pos = 1;
        std::optional<std::string> name = ReadEscaped(line, pos, '"', kMaxRegistryStringLength);
        if (!name) return std::nullopt;
        value.name = std::move(*name);
    }
    if (pos >= line.size() || line[pos] != '=') return std::nullopt;
    std::string_view data = line.substr(pos + 1);
    if (data.starts_with("str(2):")) data.remove_prefix(7);  // expandable, taken unexpanded
    if (!data.starts_with('"')) return std::nullopt;         // binary, numbers, lists
    std::size_t at = 1;
    std::optional<std::string> text = ReadEscaped(data, at, '"', kMaxRegistryStringLength);
    if (!text || at != data.size()) return std::nullopt;
    value.value = std::move(*text);
    return value;
}

}  // namespace

std::vector<RegistryString> ParseRegistryStrings(std::string_view file, std::string_view key) {
    std::vector<RegistryString> values;
    bool inKey = false;
    std::size_t start = 0;
    while (start < file.size() && values.size() < kMaxRegistryStrings) {
        std::size_t end = file.find('\n', start);
        if (end == std::string_view::npos) end = file.size();
        std::string_view line = file.substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty()) continue;
        if (line[0] == '[') {
            const std::optional<std::string> section = SectionKey(line);
            inKey = section && EqualNoCase(*section, key);
            continue;
        }
        // Continuation lines of long binary values start with blanks and are never strings.
        if (!inKey || (line[0] != '"' && line[0] != '@')) continue;
        std::optional<RegistryString> value = StringValue(line);
        if (!value) continue;
        bool known = false;
        for (const RegistryString& seen : values) known = known || seen.name == value->name;
        if (!known) values.push_back(std::move(*value));
    }
    return values;
}

std::optional<std::string> HostFolderInPrefix(const std::string& prefix,
                                              const std::string& folder) {
    if (folder.size() < 2 || folder[1] != ':') return std::nullopt;
    const char letter = char(std::tolower(static_cast<unsigned char>(folder[0])));
    if (letter < 'a' || letter > 'z') return std::nullopt;
    if (folder.size() > 2 && folder[2] != '\\' && folder[2] != '/') return std::nullopt;
    std::error_code error;
    const std::filesystem::path drive = std::filesystem::canonical(
        std::filesystem::path(prefix) / "dosdevices" / std::string{letter, ':'}, error);
    if (error) return std::nullopt;
    std::string host = drive.string();
    std::size_t pos = 2;
    while (pos < folder.size()) {
        std::size_t next = folder.find_first_of("\\/", pos);
        if (next == std::string::npos) next = folder.size();
        if (next > pos) host = JoinPath(host == "/" ? "" : host, folder.substr(pos, next - pos));
        pos = next + 1;
    }
    return ResolvePath(host);
}

}  // namespace platform
