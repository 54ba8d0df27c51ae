#include "data/env_reader.h"

#include "platform/text.h"

namespace envcheck {

std::optional<std::string> DecodeUtf16Le(std::string_view bytes) {
    if (bytes.size() < 2 || bytes.size() % 2 != 0 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
        static_cast<unsigned char>(bytes[1]) != 0xFE) {
        return std::nullopt;
    }
    std::string out;
    auto unit = [&](size_t i) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    };
    for (size_t i = 2; i < bytes.size(); i += 2) {
        char16_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 2 >= bytes.size()) return std::nullopt;
            char16_t low = unit(i + 2);
            if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
            platform::AppendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (low - 0xDC00));
            i += 2;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            return std::nullopt;
        } else {
            platform::AppendUtf8(out, u);
        }
    }
    return out;
}

const Node* Node::Child(std::string_view childName) const {
    for (const Node& c : children)
        if (platform::EqualNoCase(c.name, childName)) return &c;
    return nullptr;
}

std::vector<const Node*> Node::Children(std::string_view childName) const {
    std::vector<const Node*> out;
    for (const Node& c : children)
        if (platform::EqualNoCase(c.name, childName)) out.push_back(&c);
    return out;
}

const Node* Node::Find(std::initializer_list<std::string_view> path) const {
    const Node* node = this;
    for (std::string_view step : path) {
        node = node->Child(step);
        if (!node) return nullptr;
    }
    return node;
}

void Node::CollectAll(std::string_view nodeName, std::vector<const Node*>& out) const {
    for (const Node& c : children) {
        if (platform::EqualNoCase(c.name, nodeName)) out.push_back(&c);
        c.CollectAll(nodeName, out);
    }
}

ParseResult ParseText(std::string_view text) {
    size_t lineEnd = text.find('\n');
    Document doc;
    doc.header = std::string(text.substr(0, lineEnd));
    if (!doc.header.empty() && doc.header.back() == '\r') doc.header.pop_back();
    std::string_view body = lineEnd == std::string_view::npos ? "" : text.substr(lineEnd + 1);

    auto fail = [](std::string message) { return ParseResult{std::nullopt, std::move(message)}; };
    std::vector<Node*> open{&doc.root};
    // A word waits here until we know whether a "(" follows it (then it names a block).
    std::optional<std::string> pending;
    auto flushPending = [&]() -> bool {
        if (!pending) return true;
        if (open.size() == 1) return false;  // values live only inside blocks
        open.back()->values.push_back(std::move(*pending));
        pending.reset();
        return true;
    };

    size_t i = 0;
    while (i < body.size()) {
        char c = body[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '(') {
            if (!pending) return fail("'(' without a block name at offset " + std::to_string(i));
            open.back()->children.push_back(Node{std::move(*pending), {}, {}});
            pending.reset();
            open.push_back(&open.back()->children.back());
            ++i;
        } else if (c == ')') {
            if (!flushPending()) return fail("value outside any block");
            if (open.size() == 1) return fail("')' without '(' at offset " + std::to_string(i));
            open.pop_back();
            ++i;
        } else if (c == '"') {
            if (!flushPending()) return fail("value outside any block");
            std::string value;
            ++i;
            while (i < body.size() && body[i] != '"') {
                if (body[i] == '\\' && i + 1 < body.size()) ++i;
                value += body[i++];
            }
            if (i >= body.size()) return fail("unterminated quoted string");
            ++i;
            if (open.size() == 1) return fail("value outside any block");
            open.back()->values.push_back(std::move(value));
        } else {
            if (!flushPending()) return fail("value outside any block");
            size_t start = i;
            while (i < body.size() && !std::isspace(static_cast<unsigned char>(body[i])) &&
                   body[i] != '(' && body[i] != ')' && body[i] != '"') {
                ++i;
            }
            pending = std::string(body.substr(start, i - start));
        }
    }
    if (!flushPending()) return fail("value outside any block");
    if (open.size() != 1) return fail(std::to_string(open.size() - 1) + " unclosed '('");
    return ParseResult{std::move(doc), {}};
}

}  // namespace envcheck
