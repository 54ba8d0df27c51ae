#pragma once
// A validating reader of the simulator's environment files. The text is UTF-16LE with a byte
// order mark: one header line, then nested "name ( ... )" blocks. ReadEnvironment matches the
// file token by token against a grammar of the format written out in env_reader.cpp (order,
// required and optional parts, pairs, value types, counted lists); the first token the grammar
// does not allow where it stands is the error. docs/file-formats.md describes the same grammar.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace envcheck {

inline constexpr std::string_view kHeader = "SIMISA@@@@@@@@@@JINX0w0t______";

// UTF-16LE with BOM to UTF-8. Empty optional when the BOM is missing, the length is odd or a
// surrogate is unpaired.
std::optional<std::string> DecodeUtf16Le(std::string_view bytes);

// One token of the file: a value (a plain word or quoted text) or a block with its contents in
// file order.
struct Node {
    std::string name;  // the block name, or the value itself
    bool isValue = false;
    bool quoted = false;
    std::vector<Node> items;

    std::vector<std::string> Values() const;
    // The first child block with this name (case-insensitive, as the simulator reads names).
    const Node* Child(std::string_view childName) const;
    std::vector<const Node*> Children(std::string_view childName) const;
    // Follows a path of child blocks, e.g. {"world", "world_fog_distance"}.
    const Node* Find(std::initializer_list<std::string_view> path) const;
    // Every block below this one (depth first) with the given name.
    void CollectAll(std::string_view blockName, std::vector<const Node*>& out) const;
};

struct Document {
    std::string header;  // the first line, without its line end
    Node root;           // unnamed; its items are the file's top-level blocks
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
    std::string mode;     // the shader word
    std::string texture;  // the texture slot
};
struct WaterLayer {
    double height = 0;
    Shader shader;
};
struct SkyLayer {
    std::string fadeInBegin, fadeInEnd;  // empty for a layer shown all day
    Shader shader;
};
struct Satellite {
    int light = -1;  // 1 the sun, 0 the moon
    int riseSeconds = 0, setSeconds = 0;
    Shader shader;
};
struct Precipitation {
    std::string type;  // world_precipitation_type_rain or _snow
    long density = 0, speed = 0;
    Shader shader;
};
struct Environment {
    std::optional<long> fogDistance;
    std::optional<std::uint32_t> fogDayColour, fogNightColour;  // AARRGGBB
    std::vector<WaterLayer> water;
    std::vector<SkyLayer> sky;
    std::vector<Satellite> satellites;
    std::optional<Precipitation> precipitation;
    const Satellite* Sun() const;
    const Satellite* Moon() const;
};
struct EnvironmentResult {
    Environment environment;
    std::string error;  // empty when the file matches the grammar from its header to its end
};

EnvironmentResult ReadEnvironment(const Document& document);

}  // namespace envcheck
