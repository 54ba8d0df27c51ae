#pragma once
// A small reader of the simulator's text file format, enough to check the shipped fog files:
// UTF-16LE with a byte order mark, one header line, then nested "name ( ... )" blocks. On top of
// the syntax, ReadEnvironment holds an environment file to the grammar the simulators' readers
// parse (see docs/file-formats.md), so a block they would skip or misread is reported.
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

// What the simulators take from an environment file.
struct Shader {
    std::string mode;     // the shader word, read and not interpreted
    std::string texture;  // the first texture slot
};
struct WaterLayer {
    double height = 0;
    Shader shader;
};
struct SkyLayer {
    std::string fadeInBegin, fadeInEnd;
    Shader shader;
};
struct Satellite {
    int light = -1;  // 1 the sun, 0 the moon
    int riseSeconds = 0, setSeconds = 0;
    Shader shader;
};
struct Environment {
    std::vector<WaterLayer> water;
    std::vector<SkyLayer> sky;
    std::vector<Satellite> satellites;
    std::optional<long> fogDistance;
    std::vector<double> fogColour;
    const Satellite* Sun() const;
    const Satellite* Moon() const;
};
struct EnvironmentResult {
    Environment environment;
    std::vector<std::string> warnings;  // empty when the file keeps to the grammar
};

// Checks a parsed file against the grammar: one top-level "world" block; every block known in
// its place (an unknown one is a warning, not a skip); values of the right kind and number; each
// counted list ("world_water_layers ( 2 ...") holding exactly as many items as it declares.
EnvironmentResult ReadEnvironment(const Document& document);

}  // namespace envcheck
