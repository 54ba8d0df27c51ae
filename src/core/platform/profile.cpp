#include "core/platform/profile.h"

#include <optional>
#include <vector>

#include "core/platform/profile_internal.h"
#include "core/platform/text.h"

namespace platform {

namespace profiledetail {

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
}  // namespace

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace profiledetail

namespace {

using profiledetail::CheckWritable;
using profiledetail::EncodeValue;
using profiledetail::kMaxValueLength;
using profiledetail::Trim;
constexpr std::string_view kNewLine = "\r\n";

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

bool IsQuoted(std::string_view s) {
    return s.size() >= 2 && IsQuote(s.front()) && s.front() == s.back();
}

enum class LineKind { Blank, Comment, Section, Pair, Other };

struct Line {
    size_t begin = 0;       // offset of the first byte
    size_t contentEnd = 0;  // offset past the text, before CR LF or LF
    size_t end = 0;         // offset past the line end (or end of contents)
    LineKind kind = LineKind::Other;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // value of a pair, trimmed
};

// Where the first line starts: a leading BOM belongs to no line's text.
size_t FirstLine(std::string_view contents) {
    return contents.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
}

// The line that starts at `pos`, classified.
Line ParseLine(std::string_view contents, size_t pos) {
    Line line;
    line.begin = pos;
    size_t newline = contents.find('\n', pos);
    line.end = newline == std::string_view::npos ? contents.size() : newline + 1;
    line.contentEnd = newline == std::string_view::npos ? contents.size() : newline;
    if (line.contentEnd > line.begin && contents[line.contentEnd - 1] == '\r') --line.contentEnd;
    std::string_view text = Trim(contents.substr(line.begin, line.contentEnd - line.begin));
    if (text.empty()) {
        line.kind = LineKind::Blank;
    } else if (text.front() == ';') {
        line.kind = LineKind::Comment;
    } else if (text.front() == '[') {
        line.kind = LineKind::Section;
        std::string_view inner = text.substr(1);
        line.name = Trim(inner.substr(0, inner.find(']')));
    } else if (size_t eq = text.find('='); eq != std::string_view::npos) {
        line.kind = LineKind::Pair;
        line.name = Trim(text.substr(0, eq));
        line.value = Trim(text.substr(eq + 1));
    }
    return line;
}

// Splits contents into classified lines.
std::vector<Line> ParseLines(std::string_view contents) {
    std::vector<Line> lines;
    for (size_t pos = FirstLine(contents); pos < contents.size(); pos = lines.back().end)
        lines.push_back(ParseLine(contents, pos));
    return lines;
}

struct Location {
    std::optional<size_t> section;  // index of the first matching section header
    std::optional<size_t> key;      // index of the first matching pair inside it
    size_t sectionEnd = 0;          // index past the section's last line
};

Location Locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Location at;
    section = Trim(section);
    key = Trim(key);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == LineKind::Section && EqualNoCase(lines[i].name, section)) {
            at.section = i;
            break;
        }
    }
    if (!at.section) return at;
    size_t i = *at.section + 1;
    for (; i < lines.size() && lines[i].kind != LineKind::Section; ++i) {
        if (!at.key && lines[i].kind == LineKind::Pair && EqualNoCase(lines[i].name, key))
            at.key = i;
    }
    at.sectionEnd = i;
    return at;
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// Terminates an unterminated last line. A CR already there becomes part of the CR LF, so the
// line's own text (and value) stays as it was.
void EndLastLine(std::string& text) {
    if (!text.empty() && text.back() == '\r')
        text += '\n';
    else
        text.append(kNewLine);
}

}  // namespace

namespace profiledetail {

// Reading trims blanks and removes one pair of enclosing quotes; a value that would lose
// anything that way is written inside double quotes, so it reads back exactly.
std::string EncodeValue(std::string_view value) {
    if (Trim(value).size() != value.size() || IsQuoted(value))
        return "\"" + std::string(value) + "\"";
    return std::string(value);
}

void CheckWritable(std::string_view section, std::string_view key, std::string_view value) {
    // Such text would add lines of its own to the file, or could not be found again.
    std::string_view name = Trim(key);
    bool keyLooksLikeOtherLine = !name.empty() && (name.front() == ';' || name.front() == '[');
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) ||
        Trim(section).find(']') != std::string_view::npos ||
        name.find('=') != std::string_view::npos || keyLooksLikeOtherLine)
        throw std::invalid_argument("section, key or value cannot be stored");
}

}  // namespace profiledetail

namespace {

// What a read returns for the value as it stands in the file: one pair of enclosing quotes
// removed, cut to the system's length.
std::string ReadValue(std::string_view value) {
    if (IsQuoted(value)) value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, kMaxValueLength));
}

// Hands `take` the key and value of each pair of the first section of that name, in file order,
// until it returns false. One pass that keeps no lines: a pack is read whole for each of its
// texts, and a big one must cost no more than its bytes.
template <typename Take>
void ForEachPair(std::string_view contents, std::string_view section, Take take) {
    section = Trim(section);
    bool inSection = false;
    for (size_t pos = FirstLine(contents); pos < contents.size();) {
        const Line line = ParseLine(contents, pos);
        pos = line.end;
        if (line.kind == LineKind::Section) {
            if (inSection) return;  // only the first section of that name counts
            inSection = EqualNoCase(line.name, section);
        } else if (inSection && line.kind == LineKind::Pair && !take(line.name, line.value)) {
            return;
        }
    }
}

std::string UpperKey(std::string_view key) {
    return UpperCased(Trim(key));
}

}  // namespace

std::string ProfileLookup(std::string_view contents, std::string_view section, std::string_view key,
                          std::string_view def) {
    key = Trim(key);
    std::optional<std::string_view> found;
    ForEachPair(contents, section, [&](std::string_view name, std::string_view value) {
        if (EqualNoCase(name, key)) found = value;
        return !found;
    });
    return found ? ReadValue(*found) : std::string(def.substr(0, kMaxValueLength));
}

ProfileSection::ProfileSection(std::string_view contents, std::string_view section) {
    ForEachPair(contents, section, [&](std::string_view name, std::string_view value) {
        values_.try_emplace(UpperKey(name), ReadValue(value));  // the first of a name wins
        return true;
    });
}

std::string ProfileSection::Get(std::string_view key, std::string_view def) const {
    const auto found = values_.find(UpperKey(key));
    return found != values_.end() ? found->second : std::string(def.substr(0, kMaxValueLength));
}

std::string ProfileUpdate(std::string_view contents, std::string_view section, std::string_view key,
                          std::string_view value) {
    CheckWritable(section, key, value);
    std::vector<Line> lines = ParseLines(contents);
    Location at = Locate(lines, section, key);
    std::string result;
    result.reserve(contents.size() + section.size() + key.size() + value.size() + 16);

    if (at.key) {
        // The line keeps its own key spelling and line end; only the text around them changes.
        const Line& line = lines[*at.key];
        result.append(contents.substr(0, line.begin));
        result.append(line.name);
        result += '=';
        result += EncodeValue(value);
        result.append(contents.substr(line.contentEnd));
        return result;
    }

    std::string pair = std::string(Trim(key)) + "=" + EncodeValue(value) + std::string(kNewLine);
    if (at.section) {
        // After the section's last non-blank line, so blank lines before the next section stay.
        size_t last = *at.section;
        for (size_t i = *at.section + 1; i < at.sectionEnd; ++i)
            if (lines[i].kind != LineKind::Blank) last = i;
        const Line& line = lines[last];
        result.append(contents.substr(0, line.end));
        if (contents[line.end - 1] != '\n') EndLastLine(result);
        result += pair;
        result.append(contents.substr(line.end));
        return result;
    }

    result.append(contents);
    size_t textStart = contents.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
    if (contents.size() > textStart && contents.back() != '\n') EndLastLine(result);
    result += "[" + std::string(Trim(section)) + "]" + std::string(kNewLine) + pair;
    return result;
}

}  // namespace platform
