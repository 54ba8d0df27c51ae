#include "data/env_reader.h"

#include <cctype>
#include <charconv>
#include <map>

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

namespace {

// Value kinds: n number, i integer, f fraction 0..1, t "HH:MM:SS" time, w word, l light (0 or 1).
struct Rule {
    std::string_view values;
    std::vector<std::string_view> children;  // blocks allowed inside, each at most once
    std::vector<std::string_view> required;
    std::string_view item;  // for a counted list: its only child, repeated as the count says
};

const std::map<std::string, Rule, std::less<>>& Grammar() {
    static const std::map<std::string, Rule, std::less<>> rules{
        {"world",
         {"",
          {"world_water", "world_fog", "world_sky", "world_precipitation"},
          {"world_water", "world_sky"},
          ""}},
        {"world_water",
         {"",
          {"world_water_wave_height", "world_water_wave_speed", "world_water_layers"},
          {"world_water_layers"},
          ""}},
        {"world_water_wave_height", {"n", {}, {}, ""}},
        {"world_water_wave_speed", {"n", {}, {}, ""}},
        {"world_water_layers", {"i", {}, {}, "world_water_layer"}},
        {"world_water_layer",
         {"",
          {"world_water_layer_height", "world_anim_shader"},
          {"world_water_layer_height", "world_anim_shader"},
          ""}},
        {"world_water_layer_height", {"n", {}, {}, ""}},
        {"world_anim_shader",
         {"", {"world_anim_shader_frames", "world_shader"}, {"world_shader"}, ""}},
        {"world_anim_shader_frames", {"i", {}, {}, "world_anim_shader_frame"}},
        {"world_anim_shader_frame",
         {"", {"world_anim_shader_frame_uvtiles", "world_anim_shader_frame_uvscroll"}, {}, ""}},
        {"world_anim_shader_frame_uvtiles", {"nn", {}, {}, ""}},
        {"world_anim_shader_frame_uvscroll", {"nn", {}, {}, ""}},
        {"world_shader", {"w", {"terrain_texslots"}, {"terrain_texslots"}, ""}},
        {"terrain_texslots", {"i", {}, {}, "terrain_texslot"}},
        {"terrain_texslot", {"wii", {}, {}, ""}},
        {"world_fog",
         {"",
          {"world_fog_distance", "world_fog_colour"},
          {"world_fog_distance", "world_fog_colour"},
          ""}},
        {"world_fog_distance", {"i", {}, {}, ""}},
        {"world_fog_colour", {"fff", {}, {}, ""}},
        {"world_sky",
         {"",
          {"world_sky_layers", "world_sky_satellites"},
          {"world_sky_layers", "world_sky_satellites"},
          ""}},
        {"world_sky_layers", {"i", {}, {}, "world_sky_layer"}},
        {"world_sky_layer",
         {"",
          {"world_sky_layer_fadein", "world_anim_shader"},
          {"world_sky_layer_fadein", "world_anim_shader"},
          ""}},
        {"world_sky_layer_fadein", {"tt", {}, {}, ""}},
        {"world_sky_satellites", {"i", {}, {}, "world_sky_satellite"}},
        {"world_sky_satellite",
         {"",
          {"world_sky_satellite_light", "world_sky_satellite_rise_time",
           "world_sky_satellite_set_time", "world_sky_satellite_low_scale",
           "world_sky_satellite_high_scale", "world_anim_shader"},
          {"world_sky_satellite_light", "world_sky_satellite_rise_time",
           "world_sky_satellite_set_time", "world_anim_shader"},
          ""}},
        {"world_sky_satellite_light", {"l", {}, {}, ""}},
        {"world_sky_satellite_rise_time", {"t", {}, {}, ""}},
        {"world_sky_satellite_set_time", {"t", {}, {}, ""}},
        {"world_sky_satellite_low_scale", {"n", {}, {}, ""}},
        {"world_sky_satellite_high_scale", {"n", {}, {}, ""}},
        {"world_precipitation",
         {"",
          {"world_precipitation_type", "world_precipitation_density", "world_precipitation_size",
           "world_precipitation_speed", "world_precipitation_colour",
           "world_precipitation_texture"},
          {"world_precipitation_type"},
          ""}},
        {"world_precipitation_type", {"w", {}, {}, ""}},
        {"world_precipitation_density", {"f", {}, {}, ""}},
        {"world_precipitation_size", {"n", {}, {}, ""}},
        {"world_precipitation_speed", {"n", {}, {}, ""}},
        {"world_precipitation_colour", {"fff", {}, {}, ""}},
        {"world_precipitation_texture", {"w", {}, {}, ""}},
    };
    return rules;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::optional<double> Number(const std::string& word) {
    double value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return value;
}

std::optional<long> Integer(const std::string& word) {
    long value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return value;
}

// Seconds since midnight of "HH:MM:SS", the form the readers split at the colons.
std::optional<int> Seconds(const std::string& word) {
    if (word.size() != 8 || word[2] != ':' || word[5] != ':') return std::nullopt;
    auto h = Integer(word.substr(0, 2)), m = Integer(word.substr(3, 2)),
         s = Integer(word.substr(6, 2));
    if (!h || !m || !s || *h < 0 || *h > 24 || *m < 0 || *m > 59 || *s < 0 || *s > 59)
        return std::nullopt;
    return int(*h * 3600 + *m * 60 + *s);
}

bool ValueFits(char kind, const std::string& word) {
    switch (kind) {
        case 'n':
            return Number(word).has_value();
        case 'i':
            return Integer(word).has_value();
        case 'f': {
            auto v = Number(word);
            return v && *v >= 0.0 && *v <= 1.0;
        }
        case 't':
            return Seconds(word).has_value();
        case 'l':
            return word == "0" || word == "1";
        default:
            return !word.empty();
    }
}

class Checker {
  public:
    std::vector<std::string> warnings;

    void Block(const Node& node, const std::string& path) {
        const std::string name = Lower(node.name);
        const std::string here = path + "/" + name;
        auto rule = Grammar().find(name);
        if (rule == Grammar().end()) {
            warnings.push_back(here + ": unknown block");
            return;
        }
        const Rule& r = rule->second;
        if (node.values.size() != r.values.size()) {
            warnings.push_back(here + ": " + std::to_string(node.values.size()) +
                               " values, expected " + std::to_string(r.values.size()));
        } else {
            for (size_t i = 0; i < node.values.size(); ++i) {
                if (!ValueFits(r.values[i], node.values[i]))
                    warnings.push_back(here + ": value '" + node.values[i] + "' does not fit");
            }
        }
        // The readers take a word starting with '#' or '_' as the start of a comment.
        for (const std::string& v : node.values) {
            if (!v.empty() && (v[0] == '#' || v[0] == '_'))
                warnings.push_back(here + ": '" + v + "' would be read as a comment");
        }
        if (!r.item.empty()) {
            long declared = node.values.empty() ? -1 : Integer(node.values[0]).value_or(-1);
            long found = 0;
            for (const Node& c : node.children) {
                if (Lower(c.name) == r.item) {
                    ++found;
                    Block(c, here);
                } else {
                    warnings.push_back(here + "/" + Lower(c.name) + ": not a " +
                                       std::string(r.item));
                }
            }
            if (found != declared)
                warnings.push_back(here + ": declares " + std::to_string(declared) + ", holds " +
                                   std::to_string(found));
            return;
        }
        std::map<std::string, int> seen;
        for (const Node& c : node.children) {
            const std::string childName = Lower(c.name);
            bool allowed = false;
            for (std::string_view a : r.children) allowed = allowed || a == childName;
            if (!allowed) {
                warnings.push_back(here + "/" + childName + ": not expected here");
                continue;
            }
            if (++seen[childName] == 2) warnings.push_back(here + "/" + childName + ": repeated");
            Block(c, here);
        }
        for (std::string_view req : r.required) {
            if (!seen.count(std::string(req)))
                warnings.push_back(here + ": " + std::string(req) + " missing");
        }
    }
};

Shader ShaderOf(const Node& animShader) {
    Shader s;
    if (const Node* shader = animShader.Child("world_shader")) {
        if (!shader->values.empty()) s.mode = shader->values[0];
        const Node* slot = shader->Find({"terrain_texslots", "terrain_texslot"});
        if (slot && !slot->values.empty()) s.texture = slot->values[0];
    }
    return s;
}

const Node* Or(const Node* node, const Node& fallback) {
    return node ? node : &fallback;
}

}  // namespace

const Satellite* Environment::Sun() const {
    for (const Satellite& s : satellites)
        if (s.light == 1) return &s;
    return nullptr;
}

const Satellite* Environment::Moon() const {
    for (const Satellite& s : satellites)
        if (s.light == 0) return &s;
    return nullptr;
}

EnvironmentResult ReadEnvironment(const Document& document) {
    EnvironmentResult result;
    Checker checker;
    if (document.root.children.size() != 1 || Lower(document.root.children[0].name) != "world") {
        checker.warnings.push_back("the file must hold exactly one top-level world block");
    }
    for (const Node& top : document.root.children) checker.Block(top, "");
    result.warnings = std::move(checker.warnings);

    const Node* world = document.root.Child("world");
    if (!world) return result;
    const Node empty;
    Environment& env = result.environment;
    for (const Node* layer : Or(world->Find({"world_water", "world_water_layers"}), empty)
                                 ->Children("world_water_layer")) {
        WaterLayer w;
        if (const Node* h = layer->Child("world_water_layer_height"); h && !h->values.empty())
            w.height = Number(h->values[0]).value_or(0);
        w.shader = ShaderOf(*Or(layer->Child("world_anim_shader"), empty));
        env.water.push_back(w);
    }
    for (const Node* layer :
         Or(world->Find({"world_sky", "world_sky_layers"}), empty)->Children("world_sky_layer")) {
        SkyLayer s;
        if (const Node* f = layer->Child("world_sky_layer_fadein"); f && f->values.size() == 2) {
            s.fadeInBegin = f->values[0];
            s.fadeInEnd = f->values[1];
        }
        s.shader = ShaderOf(*Or(layer->Child("world_anim_shader"), empty));
        env.sky.push_back(s);
    }
    for (const Node* sat : Or(world->Find({"world_sky", "world_sky_satellites"}), empty)
                               ->Children("world_sky_satellite")) {
        Satellite s;
        auto first = [&](std::string_view name) -> std::string {
            const Node* n = sat->Child(name);
            return n && !n->values.empty() ? n->values[0] : std::string();
        };
        s.light = int(Integer(first("world_sky_satellite_light")).value_or(-1));
        s.riseSeconds = Seconds(first("world_sky_satellite_rise_time")).value_or(0);
        s.setSeconds = Seconds(first("world_sky_satellite_set_time")).value_or(0);
        s.shader = ShaderOf(*Or(sat->Child("world_anim_shader"), empty));
        env.satellites.push_back(s);
    }
    if (const Node* d = world->Find({"world_fog", "world_fog_distance"});
        d && d->values.size() == 1)
        env.fogDistance = Integer(d->values[0]);
    if (const Node* c = world->Find({"world_fog", "world_fog_colour"})) {
        for (const std::string& v : c->values) env.fogColour.push_back(Number(v).value_or(-1));
    }
    return result;
}

}  // namespace envcheck
