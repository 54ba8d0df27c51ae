#include "core/fog/openrails/activity_copy.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <vector>

#include "core/platform/text.h"

namespace fog {

namespace {

// UTF-16 units are copied as the processor holds them.
static_assert(std::endian::native == std::endian::little);

// Activities are read as a sequence of units: UTF-16 code units for a file with the UTF-16LE
// byte order mark, otherwise one unit per byte (the simulator's reader takes such a file as
// UTF-8; every token that matters here is ASCII either way).
struct Text {
    bool utf16 = false;
    std::string bom;  // the byte order mark, kept as it was
    std::u16string units;
};

// False for text the reader cannot take.
bool Decode(std::string_view bytes, Text& text) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        if (bytes.size() % 2 != 0) return false;
        text.utf16 = true;
        text.bom = "\xFF\xFE";
        text.units.resize(bytes.size() / 2 - 1);
        // Little-endian units, as the processor holds them (see the check below).
        std::memcpy(text.units.data(), bytes.data() + 2, bytes.size() - 2);
        return true;
    }
    // Big-endian UTF-16 is not what route builders ship; it is left alone rather than guessed.
    if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') return false;
    if (bytes.substr(0, 3) == platform::kUtf8Bom) {
        text.bom = "\xEF\xBB\xBF";
        bytes.remove_prefix(3);
    }
    text.units.assign(reinterpret_cast<const unsigned char*>(bytes.data()),
                      reinterpret_cast<const unsigned char*>(bytes.data()) + bytes.size());
    return true;
}

std::string Encode(const Text& text) {
    // Appended into reserved room: a result zero-filled first would touch every page twice.
    std::string out;
    out.reserve(text.bom.size() + text.units.size() * (text.utf16 ? 2 : 1));
    out = text.bom;
    if (text.utf16) {
        out.append(reinterpret_cast<const char*>(text.units.data()), text.units.size() * 2);
    } else {
        for (const char16_t unit : text.units) out.push_back(static_cast<char>(unit));
    }
    return out;
}

// UTF-8 (invalid bytes read as Windows-1252, as pack texts are) into the file's units.
std::u16string ToUnits(std::string_view utf8, bool utf16) {
    std::u16string out;
    if (!utf16) {
        // An 8-bit activity is read as UTF-8: the text goes in as UTF-8 bytes.
        const std::string valid =
            platform::IsValidUtf8(utf8) ? std::string(utf8) : platform::Cp1252ToUtf8(utf8);
        for (char c : valid) out.push_back(static_cast<unsigned char>(c));
        return out;
    }
    const std::string valid =
        platform::IsValidUtf8(utf8) ? std::string(utf8) : platform::Cp1252ToUtf8(utf8);
    for (std::size_t i = 0; i < valid.size();) {
        const auto b = static_cast<unsigned char>(valid[i]);
        char32_t cp = b;
        std::size_t len = 1;
        if (b >= 0xF0) {
            cp = b & 0x07;
            len = 4;
        } else if (b >= 0xE0) {
            cp = b & 0x0F;
            len = 3;
        } else if (b >= 0xC0) {
            cp = b & 0x1F;
            len = 2;
        }
        for (std::size_t k = 1; k < len && i + k < valid.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(valid[i + k]) & 0x3F);
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::u16string Ascii(std::string_view s) {
    return std::u16string(s.begin(), s.end());
}

bool IsSpace(char16_t c) {
    return c <= u' ';
}

char16_t Lower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c;
}

bool EqualsWord(std::u16string_view a, std::string_view lowerAscii) {
    if (a.size() != lowerAscii.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != static_cast<char16_t>(lowerAscii[i])) return false;
    return true;
}

// One item of the structured text: a parenthesis, or a word or quoted string, by position (its
// value is worked out only where it is needed: most items are never looked at).
struct Token {
    enum class Kind { Open, Close, Item } kind = Kind::Item;
    std::size_t begin = 0, end = 0;  // the raw text, quotes and '+' joins included
    bool quoted = false;
};

// What an item stands for: a word as it is, a quoted string without its quotes and escapes,
// joined with the strings '+' adds to it.
std::u16string Value(const std::u16string& s, const Token& t) {
    if (!t.quoted) return s.substr(t.begin, t.end - t.begin);
    std::u16string value;
    bool inside = false;
    for (std::size_t i = t.begin; i < t.end; ++i) {
        const char16_t c = s[i];
        if (!inside) {
            inside = c == u'"';  // blanks and '+' between the joined strings
        } else if (c == u'\\' && i + 1 < t.end) {
            const char16_t e = s[++i];
            value += e == u'n' ? u'\n' : e == u't' ? u'\t' : e;
        } else if (c == u'"') {
            inside = false;
        } else {
            value += c;
        }
    }
    return value;
}

class Tokenizer {
  public:
    Tokenizer(const std::u16string& s, std::size_t pos) : s_(s), pos_(pos) {}

    // False at the end; nothing is set then. `bad` is raised for text the reader cannot take.
    bool Next(Token& t) {
        while (pos_ < s_.size() && IsSpace(s_[pos_])) ++pos_;
        if (pos_ >= s_.size()) return false;
        t = Token{};
        t.begin = pos_;
        const char16_t c = s_[pos_];
        if (c == u'(' || c == u')') {
            t.kind = c == u'(' ? Token::Kind::Open : Token::Kind::Close;
            t.end = ++pos_;
            return true;
        }
        if (c == u'"') {
            t.quoted = true;
            ++pos_;
            for (;;) {
                if (pos_ >= s_.size()) {
                    bad = true;
                    t.end = pos_;
                    return true;
                }
                const char16_t q = s_[pos_++];
                if (q == u'\\') {
                    if (pos_ < s_.size()) ++pos_;
                } else if (q == u'"') {
                    // A '+' after the closing quote joins the next quoted string.
                    std::size_t p = pos_;
                    while (p < s_.size() && IsSpace(s_[p])) ++p;
                    if (p >= s_.size() || s_[p] != u'+') break;
                    ++p;
                    while (p < s_.size() && IsSpace(s_[p])) ++p;
                    if (p >= s_.size() || s_[p] != u'"') {
                        bad = true;
                        break;
                    }
                    pos_ = p + 1;
                }
            }
            t.end = pos_;
            return true;
        }
        while (pos_ < s_.size() && !IsSpace(s_[pos_]) && s_[pos_] != u'(' && s_[pos_] != u')')
            ++pos_;
        t.end = pos_;
        return true;
    }

    bool bad = false;

    // Moves past the parenthesis that closes the block it is in; its position, or nothing when
    // the text ends first. Only quoted strings and parentheses matter here, so it goes character
    // by character instead of item by item. A quote opens a string only where an item starts.
    std::optional<std::size_t> SkipBlock() {
        int open = 1;
        bool itemStart = true;
        while (pos_ < s_.size()) {
            const char16_t c = s_[pos_++];
            if (c == u'"' && itemStart) {
                while (pos_ < s_.size() && s_[pos_] != u'"') pos_ += s_[pos_] == u'\\' ? 2 : 1;
                if (pos_ >= s_.size()) return std::nullopt;
                ++pos_;
                itemStart = false;
            } else if (c == u'(') {
                ++open;
                itemStart = true;
            } else if (c == u')') {
                if (--open == 0) return pos_ - 1;
                itemStart = true;
            } else {
                itemStart = IsSpace(c);
            }
        }
        return std::nullopt;
    }

  private:
    const std::u16string& s_;
    std::size_t pos_;
};

// A named block and what it holds, by position in the text.
struct Node {
    std::u16string_view name;  // the word before it, as written (a quoted name: empty)
    std::size_t nameBegin = 0, open = 0, close = 0;
    std::vector<Node> children;
    // Items that open no block: the first and the last (most blocks hold none or one).
    std::size_t valueCount = 0;
    Token firstValue, lastValue;
    void AddValue(const Token& t) {
        if (valueCount++ == 0) firstValue = t;
        lastValue = t;
    }
};

// Reads the items up to the closing parenthesis of `into` (or the end at the top level). Items
// the reader skips (a word starting with '#' or '_' and what follows it, comment and skip
// blocks) are left out.
bool ParseBlock(const std::u16string& s, Tokenizer& tok, Node& into, bool top, int depth) {
    // Nothing below an event's ID is looked at: deeper blocks are only followed to their
    // closing parenthesis.
    constexpr int kEventDepth = 4, kKeptDepth = 6;
    if (depth >= kKeptDepth) {
        const std::optional<std::size_t> close = tok.SkipBlock();
        if (!close) return false;
        into.close = *close;
        return true;
    }
    Token t;
    std::optional<Token> pending;  // an item that may name the block that follows
    bool skipNext = false;
    auto flush = [&] {
        if (pending) into.AddValue(*pending);
        pending.reset();
    };
    while (tok.Next(t)) {
        if (tok.bad) return false;
        if (t.kind == Token::Kind::Close) {
            if (top) return false;
            flush();
            into.close = t.begin;
            return true;
        }
        if (t.kind == Token::Kind::Open) {
            std::u16string_view name;
            if (pending && !pending->quoted)
                name = std::u16string_view(s).substr(pending->begin, pending->end - pending->begin);
            // Of an event's own items (opened at depth 4) only its ID is ever looked at; they and
            // what the reader skips are only followed to their closing parenthesis.
            const bool skipped = skipNext || EqualsWord(name, "comment") ||
                                 EqualsWord(name, "skip") ||
                                 (depth == kEventDepth && !EqualsWord(name, "id"));
            skipNext = false;
            if (skipped) {
                pending.reset();
                if (!tok.SkipBlock()) return false;
                continue;
            }
            // Made in place: its own children go into its own list, so it stays where it is.
            Node& child = into.children.emplace_back();
            child.name = name;
            child.nameBegin = pending ? pending->begin : t.begin;
            pending.reset();
            child.open = t.begin;
            if (!ParseBlock(s, tok, child, false, depth + 1)) return false;
            continue;
        }
        flush();
        if (skipNext) {
            skipNext = false;
            continue;
        }
        if (!t.quoted && (s[t.begin] == u'#' || s[t.begin] == u'_')) {
            skipNext = true;
            continue;
        }
        pending = t;
    }
    flush();
    return top;
}

const Node* LastChild(const Node& node, std::string_view name) {
    const Node* found = nullptr;
    for (const Node& child : node.children)
        if (EqualsWord(child.name, name)) found = &child;
    return found;
}

struct Edit {
    std::size_t begin, end;
    std::u16string text;
};

// The blanks that start the line holding `pos`.
std::u16string IndentAt(const std::u16string& s, std::size_t pos) {
    std::size_t start = s.rfind(u'\n', pos == 0 ? 0 : pos - 1);
    start = start == std::u16string::npos ? 0 : start + 1;
    std::size_t end = start;
    while (end < s.size() && (s[end] == u' ' || s[end] == u'\t')) ++end;
    return s.substr(start, end - start);
}

// Indentation for a new item inside `block`: that of its first child, or one tab deeper.
std::u16string ChildIndent(const std::u16string& s, const Node& block) {
    if (!block.children.empty()) return IndentAt(s, block.children.front().nameBegin);
    return IndentAt(s, block.nameBegin) + u'\t';
}

std::u16string Quoted(const std::u16string& value) {
    std::u16string out = u"\"";
    for (char16_t c : value) {
        if (c == u'"' || c == u'\\') {
            out += u'\\';
            out += c;
        } else if (c == u'\n') {
            out += u"\\n";
        } else if (c == u'\t') {
            out += u"\\t";
        } else {
            out += c;
        }
    }
    return out + u'"';
}

// Replaces what a leaf block holds (or fills an empty one) with `value`.
Edit SetBlockValue(const Node& block, const std::u16string& value) {
    if (block.valueCount == 0) return {block.open + 1, block.open + 1, u" " + value + u" "};
    return {block.firstValue.begin, block.lastValue.end, value};
}

std::optional<long long> ParseInt(const std::u16string& s) {
    if (s.empty() || s.size() > 12) return std::nullopt;
    long long value = 0;
    std::size_t i = 0;
    bool negative = false;
    if (s[0] == u'-' || s[0] == u'+') {
        negative = s[0] == u'-';
        i = 1;
    }
    if (i == s.size()) return std::nullopt;
    for (; i < s.size(); ++i) {
        if (s[i] < u'0' || s[i] > u'9') return std::nullopt;
        value = value * 10 + (s[i] - u'0');
    }
    return negative ? -value : value;
}

// The weather-change event, one line per entry, without line ends.
std::vector<std::u16string> FogEventLines(long long id, Weather weather, int metres) {
    std::vector<std::u16string> lines = {
        u"EventCategoryTime (",
        u"\tEventTypeTime ( )",
        u"\tID ( " + Ascii(std::to_string(id)) + u" )",
        u"\tActivation_Level ( 1 )",
        u"\tOutcomes (",
        u"\t\tORTSWeatherChange (",
        // Zero seconds: the fog is there from the first frame, not drawn in over minutes.
        u"\t\t\tORTSFog ( " + Ascii(std::to_string(metres)) + u" 0 )",
    };
    // Rain and snow fall from a heavy sky; fog alone keeps the sky the activity has.
    if (weather == Weather::Rain) lines.emplace_back(u"\t\t\tORTSOvercast ( 0.8 0 )");
    if (weather == Weather::Snow) lines.emplace_back(u"\t\t\tORTSOvercast ( 0.7 0 )");
    lines.insert(lines.end(),
                 {u"\t\t)", u"\t)", u"\tName ( \"ZEL Nevora\" )", u"\tTime ( 0 )", u")"});
    return lines;
}

std::u16string JoinLines(const std::vector<std::u16string>& lines, const std::u16string& indent,
                         const std::u16string& eol) {
    std::u16string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) out += eol;
        out += indent + lines[i];
    }
    return out;
}

constexpr std::string_view kSignature = "SIMISA@@@@@@@@@@JINX0a0t";
constexpr std::string_view kCopyMarker = "_ZEL_mist_";

// An activity as read: its text, its line end, and the blocks that get the fog.
struct Activity {
    Text text;
    std::size_t firstLineEnd = 0;
    std::u16string eol;
    Node root;
    const Node* header = nullptr;  // Tr_Activity_Header
    const Node* file = nullptr;    // Tr_Activity_File
};

std::optional<Activity> ReadActivity(std::string_view bytes) {
    Activity a;
    if (!Decode(bytes, a.text)) return std::nullopt;
    const std::u16string& s = a.text.units;
    // The first line is the file's signature; the reader skips it, whatever follows it.
    if (s.size() < kSignature.size() || s.compare(0, kSignature.size(), Ascii(kSignature)) != 0)
        return std::nullopt;
    a.firstLineEnd = s.find(u'\n');
    if (a.firstLineEnd == std::u16string::npos) return std::nullopt;
    a.eol = a.firstLineEnd > 0 && s[a.firstLineEnd - 1] == u'\r' ? u"\r\n" : u"\n";
    Tokenizer tok(s, a.firstLineEnd + 1);
    if (!ParseBlock(s, tok, a.root, true, 0)) return std::nullopt;
    const Node* act = LastChild(a.root, "tr_activity");
    if (!act) return std::nullopt;
    a.header = LastChild(*act, "tr_activity_header");
    a.file = LastChild(*act, "tr_activity_file");
    if (!a.header || !a.file) return std::nullopt;
    return a;
}

// The display name with the fog added, and the weather chosen, in the header.
std::vector<Edit> HeaderEdits(const Activity& a, const ActivityFog& fog) {
    const std::u16string& s = a.text.units;
    const Node& header = *a.header;
    std::vector<Edit> edits;
    // Display name: the reader takes the first item of the last Name block.
    std::u16string baseName;
    std::vector<const Node*> names;
    for (const Node& child : header.children)
        if (EqualsWord(child.name, "name")) names.push_back(&child);
    if (!names.empty() && names.back()->valueCount > 0) {
        baseName = Value(s, names.back()->firstValue);
    } else if (names.empty()) {
        baseName = ToUnits(fog.fallbackName, a.text.utf16);
    }
    const std::u16string newName = Quoted(baseName + ToUnits(fog.nameSuffix, a.text.utf16));
    const std::u16string code = Ascii(std::to_string(ActivityWeatherCode(fog.weather)));
    const std::u16string headerIndent = ChildIndent(s, header);
    edits.reserve(header.children.size() + 1);  // a Name or Weather item each, and one addition
    for (const Node* name : names) edits.push_back(SetBlockValue(*name, newName));
    bool hasWeather = false;
    for (const Node& child : header.children) {
        if (!EqualsWord(child.name, "weather")) continue;
        edits.push_back(SetBlockValue(child, code));
        hasWeather = true;
    }
    std::u16string headerAdd;
    if (names.empty()) headerAdd += a.eol + headerIndent + u"Name ( " + newName + u" )";
    if (!hasWeather) headerAdd += a.eol + headerIndent + u"Weather ( " + code + u" )";
    if (!headerAdd.empty()) edits.push_back({header.open + 1, header.open + 1, headerAdd});
    return edits;
}

// The fog event with an ID no event of the file has, first in Events (a new Events block as the
// file block's last item where there is none); nothing when no ID is left.
std::optional<Edit> FogEventEdit(const Activity& a, const ActivityFog& fog) {
    const std::u16string& s = a.text.units;
    const std::u16string& eol = a.eol;
    const Node* events = LastChild(*a.file, "events");
    long long maxId = 0;
    if (events) {
        for (const Node& event : events->children) {
            const Node* id = LastChild(event, "id");
            if (!id || id->valueCount == 0) continue;
            if (const auto value = ParseInt(Value(s, id->firstValue)))
                maxId = std::max(maxId, *value);
        }
    }
    if (maxId >= INT_MAX) return std::nullopt;
    const std::vector<std::u16string> lines = FogEventLines(maxId + 1, fog.weather, fog.metres);
    if (events) {
        const std::u16string indent = ChildIndent(s, *events);
        return Edit{events->open + 1, events->open + 1, eol + JoinLines(lines, indent, eol)};
    }
    const Node& file = *a.file;
    const std::u16string indent = ChildIndent(s, file);
    std::vector<std::u16string> block = {u"Events ("};
    for (const std::u16string& line : lines) block.push_back(u"\t" + line);
    block.emplace_back(u")");
    std::size_t lineStart = s.rfind(u'\n', file.close);
    lineStart = lineStart == std::u16string::npos ? 0 : lineStart + 1;
    bool ownLine = lineStart > a.firstLineEnd;
    for (std::size_t i = lineStart; ownLine && i < file.close; ++i)
        ownLine = s[i] == u' ' || s[i] == u'\t';
    if (ownLine) return Edit{lineStart, lineStart, JoinLines(block, indent, eol) + eol};
    return Edit{file.close, file.close,
                eol + JoinLines(block, indent, eol) + eol + IndentAt(s, file.close)};
}

}  // namespace

int ActivityWeatherCode(Weather weather) {
    switch (weather) {
        case Weather::Sun:
            return 0;
        case Weather::Snow:
            return 1;
        case Weather::Rain:
            return 2;
    }
    return 0;
}

std::optional<std::string> FogActivity(std::string_view activity, const ActivityFog& fog) {
    std::optional<Activity> read = ReadActivity(activity);
    if (!read) return std::nullopt;
    std::vector<Edit> edits = HeaderEdits(*read, fog);
    const std::optional<Edit> event = FogEventEdit(*read, fog);
    if (!event) return std::nullopt;
    edits.push_back(*event);
    // Applied from the back, so earlier positions stay valid.
    std::sort(edits.begin(), edits.end(),
              [](const Edit& a, const Edit& b) { return a.begin > b.begin; });
    std::u16string& out = read->text.units;
    for (const Edit& edit : edits) out.replace(edit.begin, edit.end - edit.begin, edit.text);
    return Encode(read->text);
}

std::string ActivityCopyName(std::string_view original, Weather weather, int metres, int attempt) {
    std::string_view stem = original;
    if (const auto dot = stem.rfind('.'); dot != std::string_view::npos) stem = stem.substr(0, dot);
    std::string name(stem);
    name += kCopyMarker;
    name += WeatherName(weather);
    name += '_' + std::to_string(metres) + 'm';
    if (attempt > 1) name += '_' + std::to_string(attempt);
    return name + ".act";
}

bool IsActivityCopyName(std::string_view name) {
    if (name.size() < kCopyMarker.size()) return false;
    for (std::size_t i = 0; i + kCopyMarker.size() <= name.size(); ++i)
        if (platform::EqualNoCase(name.substr(i, kCopyMarker.size()), kCopyMarker)) return true;
    return false;
}

}  // namespace fog
