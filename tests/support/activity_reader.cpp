#include "support/activity_reader.h"

#include <cstdlib>
#include <memory>

namespace actcheck {

namespace {

void PutUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Code points of the file, decoded as a byte-order-mark-sniffing text reader does.
std::u32string DecodeFile(const std::string& b, std::string& encoding) {
    std::u32string out;
    if (b.size() >= 2 && b[0] == '\xFF' && b[1] == '\xFE') {
        encoding = "utf-16le";
        for (std::size_t i = 2; i + 1 < b.size(); i += 2) {
            char32_t u = char32_t((unsigned char)b[i] | ((unsigned char)b[i + 1] << 8));
            if (u >= 0xD800 && u < 0xDC00 && i + 3 < b.size()) {
                char32_t lo = char32_t((unsigned char)b[i + 2] | ((unsigned char)b[i + 3] << 8));
                u = 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00);
                i += 2;
            }
            out += u;
        }
        return out;
    }
    std::size_t i = 0;
    encoding = "8-bit";
    if (b.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        encoding = "utf-8-bom";
        i = 3;
    }
    while (i < b.size()) {
        unsigned char c = (unsigned char)b[i];
        int len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; k < len && i + k < b.size(); ++k) cp = (cp << 6) | (b[i + k] & 0x3F);
        out += cp;
        i += len;
    }
    return out;
}

struct Item {
    enum Kind { Open, Close, Word } kind;
    std::string text;  // UTF-8
    bool quoted = false;
};

std::vector<Item> Tokens(const std::u32string& s, std::size_t pos, std::vector<std::string>& warn) {
    std::vector<Item> items;
    auto space = [](char32_t c) { return c <= U' '; };
    while (true) {
        while (pos < s.size() && space(s[pos])) ++pos;
        if (pos >= s.size()) break;
        char32_t c = s[pos];
        if (c == U'(' || c == U')') {
            items.push_back({c == U'(' ? Item::Open : Item::Close, c == U'(' ? "(" : ")"});
            ++pos;
            continue;
        }
        Item item{Item::Word, ""};
        if (c == U'"') {
            item.quoted = true;
            ++pos;
            for (;;) {
                if (pos >= s.size()) {
                    warn.emplace_back("end of file inside a quoted string");
                    break;
                }
                char32_t q = s[pos++];
                if (q == U'\\' && pos < s.size()) {
                    q = s[pos++];
                    PutUtf8(item.text, q == U'n' ? U'\n' : q == U't' ? U'\t' : q);
                } else if (q != U'"') {
                    PutUtf8(item.text, q);
                } else {
                    std::size_t p = pos;
                    while (p < s.size() && space(s[p])) ++p;
                    if (p >= s.size() || s[p] != U'+') break;
                    ++p;
                    while (p < s.size() && space(s[p])) ++p;
                    if (p >= s.size() || s[p] != U'"') {
                        warn.emplace_back("'+' not followed by a quoted string");
                        pos = p;
                        break;
                    }
                    pos = p + 1;
                }
            }
        } else {
            while (pos < s.size() && !space(s[pos]) && s[pos] != U'(' && s[pos] != U')')
                PutUtf8(item.text, s[pos++]);
        }
        items.push_back(std::move(item));
    }
    return items;
}

std::string Lower(std::string s) {
    for (char& c : s) c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    return s;
}

// A block: its own items (values) and sub-blocks, by index into the item list.
struct Block {
    std::string name;  // lower case
    std::size_t nameIndex = 0, open = 0, close = 0;
    std::vector<std::size_t> values;
    std::vector<std::unique_ptr<Block>> children;
    const Block* Last(const std::string& n) const {
        const Block* found = nullptr;
        for (const auto& c : children)
            if (c->name == n) found = c.get();
        return found;
    }
};

bool Parse(const std::vector<Item>& items, std::size_t& i, Block& into, bool top,
           std::vector<std::string>& warn) {
    bool hideNext = false;
    std::optional<std::size_t> pending;
    auto flush = [&] {
        if (pending) into.values.push_back(*pending);
        pending.reset();
    };
    while (i < items.size()) {
        const Item& it = items[i];
        if (it.kind == Item::Close) {
            if (top) {
                warn.emplace_back("')' without '('");
                return false;
            }
            flush();
            into.close = i++;
            return true;
        }
        if (it.kind == Item::Open) {
            auto child = std::make_unique<Block>();
            child->open = i;
            if (pending) {
                child->name = Lower(items[*pending].text);
                child->nameIndex = *pending;
                pending.reset();
            } else {
                child->nameIndex = i;
            }
            ++i;
            if (!Parse(items, i, *child, false, warn)) return false;
            const bool hidden = hideNext || child->name == "comment" || child->name == "skip";
            hideNext = false;
            if (!hidden) into.children.push_back(std::move(child));
            continue;
        }
        flush();
        if (hideNext) {
            hideNext = false;
        } else if (!it.quoted && !it.text.empty() && (it.text[0] == '#' || it.text[0] == '_')) {
            hideNext = true;
        } else {
            pending = i;
        }
        ++i;
    }
    flush();
    if (!top) warn.emplace_back("end of file inside a block");
    return top;
}

std::optional<double> Number(const std::vector<Item>& items, const Block& b, std::size_t k,
                             std::vector<std::string>& warn, const std::string& what) {
    if (b.values.size() <= k) {
        warn.push_back(what + ": value missing");
        return std::nullopt;
    }
    const std::string& t = items[b.values[k]].text;
    char* end = nullptr;
    double v = std::strtod(t.c_str(), &end);
    if (t.empty() || *end != '\0') {
        warn.push_back(what + ": not a number: " + t);
        return std::nullopt;
    }
    return v;
}

Event ReadEvent(const std::vector<Item>& items, const Block& e, std::vector<std::string>& warn) {
    Event ev;
    ev.category = e.name;
    for (const auto& f : e.children) {
        const std::string what = e.name + "." + f->name;
        if (f->name == "id") {
            if (auto v = Number(items, *f, 0, warn, what)) ev.id = (long long)*v;
        } else if (f->name == "activation_level") {
            if (auto v = Number(items, *f, 0, warn, what)) ev.activationLevel = (long long)*v;
        } else if (f->name == "time") {
            ev.time = Number(items, *f, 0, warn, what);
        } else if (f->name == "outcomes") {
            ev.hasOutcomes = true;
            for (const auto& o : f->children) {
                if (o->name == "displaymessage") ev.hasDisplayMessage = true;
                if (o->name != "ortsweatherchange") continue;
                for (const auto& w : o->children) {
                    if (w->name == "ortsfog") {
                        ev.fogMetres = Number(items, *w, 0, warn, "ORTSFog");
                        ev.fogSeconds = Number(items, *w, 1, warn, "ORTSFog");
                    } else if (w->name == "ortsovercast") {
                        ev.overcast = Number(items, *w, 0, warn, "ORTSOvercast");
                        ev.overcastSeconds = Number(items, *w, 1, warn, "ORTSOvercast");
                    }
                }
            }
        }
    }
    return ev;
}

}  // namespace

Activity ReadActivity(const std::string& bytes) {
    Activity a;
    std::vector<std::string>& warn = a.warnings;
    const std::u32string s = DecodeFile(bytes, a.encoding);
    std::size_t lf = 0, crlf = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != U'\n') continue;
        ++lf;
        if (i > 0 && s[i - 1] == U'\r') ++crlf;
    }
    a.crlf = lf > 0 && lf == crlf;
    const std::size_t firstLine = s.find(U'\n');
    if (s.compare(0, 24, U"SIMISA@@@@@@@@@@JINX0a0t") != 0 || firstLine == std::u32string::npos) {
        warn.emplace_back("no activity signature line");
        return a;
    }
    const std::vector<Item> items = Tokens(s, firstLine + 1, warn);
    for (const Item& it : items) a.items.push_back(it.text);
    Block root;
    std::size_t i = 0;
    if (!Parse(items, i, root, true, warn)) return a;
    const Block* act = root.Last("tr_activity");
    if (!act) {
        warn.emplace_back("Missing Tr_Activity statement");
        return a;
    }
    const Block* header = act->Last("tr_activity_header");
    const Block* file = act->Last("tr_activity_file");
    if (!header) warn.emplace_back("no Tr_Activity_Header");
    if (!file) warn.emplace_back("Missing Tr_Activity_File statement");
    if (!header || !file) return a;

    for (const auto& c : header->children) {
        if (c->name == "name") {
            if (c->values.size() != 1) warn.emplace_back("Name: expected one item");
            if (!c->values.empty()) a.name = items[c->values.front()].text;
            a.nameItems.insert(a.nameItems.end(), c->values.begin(), c->values.end());
        } else if (c->name == "weather") {
            if (auto v = Number(items, *c, 0, warn, "Weather")) a.weather = int(*v);
            a.weatherItems.insert(a.weatherItems.end(), c->values.begin(), c->values.end());
        }
    }
    const Block* events = file->Last("events");
    if (!events) return a;
    bool first = true;
    for (const auto& e : events->children) {
        if (e->name != "eventcategorytime" && e->name != "eventcategorylocation" &&
            e->name != "eventcategoryaction")
            continue;
        if (first) {
            first = false;
            const bool alone = events->children.size() == 1 && events->values.empty();
            a.firstEventBegin = alone ? events->nameIndex : e->nameIndex;
            a.firstEventEnd = (alone ? events->close : e->close) + 1;
        }
        Event ev = ReadEvent(items, *e, warn);
        if (!ev.hasOutcomes) warn.emplace_back("event without Outcomes");
        a.events.push_back(ev);
    }
    return a;
}

std::vector<std::string> ItemsWithoutFog(const Activity& read, bool dropFirstEvent) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < read.items.size(); ++i) {
        if (dropFirstEvent && i >= read.firstEventBegin && i < read.firstEventEnd) continue;
        // A value of several items reads as its first: it blanks to one placeholder.
        bool blank = false, first = false;
        for (const auto* list : {&read.nameItems, &read.weatherItems}) {
            for (std::size_t k : *list) blank = blank || k == i;
            first = first || (!list->empty() && list->front() == i);
        }
        if (!blank) {
            out.push_back(read.items[i]);
        } else if (first) {
            out.emplace_back("<value>");
        }
    }
    return out;
}

}  // namespace actcheck
