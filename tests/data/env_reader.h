#pragma once
// A small reader of the simulator's text file format, enough to check the shipped fog files:
// UTF-16LE with a byte order mark, one header line, then nested "name ( ... )" blocks.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace envcheck {

// UTF-16LE with BOM to UTF-8. Empty optional when the BOM is missing, the length is odd or a
// surrogate is unpaired.
std::optional<std::string> DecodeUtf16Le(std::string_view bytes);

struct Node {
    std::string name;
    std::vector<std::string> values;  // plain words and quoted strings, in order
    std::vector<Node> children;

    // The first child with this name (case-insensitive, as the simulator reads names), or null.
    const Node* Child(std::string_view childName) const;
    std::vector<const Node*> Children(std::string_view childName) const;
    // Follows a path of child names, e.g. {"world", "world_fog", "world_fog_distance"}.
    const Node* Find(std::initializer_list<std::string_view> path) const;
    // Every node below this one (depth first) with the given name.
    void CollectAll(std::string_view nodeName, std::vector<const Node*>& out) const;
};

struct Document {
    std::string header;  // the first line, without its line end
    Node root;           // unnamed; its children are the file's top-level blocks
};

struct ParseResult {
    std::optional<Document> document;
    std::string error;  // set when document is empty
};

// Parses decoded text. Fails on an unbalanced parenthesis, an unterminated quoted string, a value
// outside any block or a block without a name.
ParseResult ParseText(std::string_view text);

}  // namespace envcheck
