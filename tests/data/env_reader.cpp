#include "data/env_reader.h"

#include <cctype>
#include <charconv>
#include <cstring>
#include <map>

#include "core/platform/text.h"

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

std::vector<std::string> Node::Values() const {
    std::vector<std::string> out;
    for (const Node& n : items)
        if (n.isValue) out.push_back(n.name);
    return out;
}

const Node* Node::Child(std::string_view childName) const {
    for (const Node& n : items)
        if (!n.isValue && platform::EqualNoCase(n.name, childName)) return &n;
    return nullptr;
}

std::vector<const Node*> Node::Children(std::string_view childName) const {
    std::vector<const Node*> out;
    for (const Node& n : items)
        if (!n.isValue && platform::EqualNoCase(n.name, childName)) out.push_back(&n);
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

void Node::CollectAll(std::string_view blockName, std::vector<const Node*>& out) const {
    for (const Node& n : items) {
        if (n.isValue) continue;
        if (platform::EqualNoCase(n.name, blockName)) out.push_back(&n);
        n.CollectAll(blockName, out);
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
        open.back()->items.push_back(Node{std::move(*pending), true, false, {}});
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
            open.back()->items.push_back(Node{std::move(*pending), false, false, {}});
            pending.reset();
            open.push_back(&open.back()->items.back());
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
            open.back()->items.push_back(Node{std::move(value), true, true, {}});
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

// The grammar of environment files, one block per line: "name = contents". In the contents a
// lower-case type stands for a value, any other word for a block of that name; [ ... ] is
// optional (all of it or none), { ... } repeats, | separates alternatives. Value types: uint
// (digits), sint (digits with an optional minus), float, dword (eight hex digits, AARRGGBB),
// string (a word or quoted text), time (HH:MM:SS) and count (a uint equal to the number of times
// the part after it occurs; 1 for a single block).
constexpr std::string_view kGrammar = R"(
world = [world_fog_distance] [world_fog_day_colour world_fog_night_colour] world_sky world_water [world_precipitation] world_wind
world_fog_distance = uint
world_fog_day_colour = dword
world_fog_night_colour = dword
world_sky = world_sky_nlayers_behind_satellites world_sky_layers world_sky_horizon world_sky_satellites
world_sky_nlayers_behind_satellites = uint
world_sky_layers = count {world_sky_layer}
world_sky_layer = [world_sky_layer_fadein world_sky_layer_fadeout] world_sky_layer_top world_sky_layer_edge world_anim_shader
world_sky_layer_fadein = time time
world_sky_layer_fadeout = time time
world_sky_layer_top = world_sky_layer_top_nfaces world_sky_layer_top_radius world_sky_layer_top_height
world_sky_layer_top_nfaces = uint
world_sky_layer_top_radius = uint
world_sky_layer_top_height = uint
world_sky_layer_edge = world_sky_layer_edge_steps
world_sky_layer_edge_steps = count {world_sky_layer_edge_step_height world_sky_layer_edge_step_radius}
world_sky_layer_edge_step_height = sint
world_sky_layer_edge_step_radius = uint
world_sky_horizon = world_shader
world_sky_satellites = count {world_sky_satellite}
world_sky_satellite = world_sky_satellite_low_scale world_sky_satellite_high_scale world_sky_satellite_rise_position world_sky_satellite_rise_time world_sky_satellite_set_time world_sky_satellite_dir_rise_colour world_sky_satellite_dir_high_colour world_sky_satellite_dir_set_colour world_sky_satellite_amb_rise_colour world_sky_satellite_amb_high_colour world_sky_satellite_amb_set_colour world_sky_satellite_light [world_sky_satellite_fog] world_anim_shader
world_sky_satellite_low_scale = uint
world_sky_satellite_high_scale = uint
world_sky_satellite_rise_position = uint
world_sky_satellite_rise_time = time
world_sky_satellite_set_time = time
world_sky_satellite_dir_rise_colour = dword
world_sky_satellite_dir_high_colour = dword
world_sky_satellite_dir_set_colour = dword
world_sky_satellite_amb_rise_colour = dword
world_sky_satellite_amb_high_colour = dword
world_sky_satellite_amb_set_colour = dword
world_sky_satellite_light = [uint]
world_sky_satellite_fog = uint
world_water = world_water_terrain_patch_map world_water_wave_height world_water_wave_speed world_water_layers
world_water_terrain_patch_map = uint string
world_water_wave_height = uint
world_water_wave_speed = uint
world_water_layers = count {world_water_layer}
world_water_layer = world_water_layer_height [world_water_layer_sky_reflection] world_anim_shader
world_water_layer_height = float
world_water_layer_sky_reflection = uint
world_precipitation = world_precipitation_type world_precipitation_density world_precipitation_speed world_anim_shader
world_precipitation_type = string
world_precipitation_density = uint
world_precipitation_speed = uint
world_wind = world_wind_layers
world_wind_layers = count {world_wind_layer}
world_wind_layer = world_wind_layer_maxheight world_wind_layer_direction world_wind_layer_speed world_wind_layer_turbulencep
world_wind_layer_maxheight = uint
world_wind_layer_direction = uint sint uint
world_wind_layer_speed = uint
world_wind_layer_turbulencep = float
world_anim_shader = [world_anim_shader_framelen] world_anim_shader_frames world_shader
world_anim_shader_framelen = float
world_anim_shader_frames = count {world_anim_shader_frame}
world_anim_shader_frame = {world_anim_shader_frame_uvscroll | world_anim_shader_frame_uvstamp | world_anim_shader_frame_uvtiles}
world_anim_shader_frame_uvscroll = uint float
world_anim_shader_frame_uvstamp = float float float float
world_anim_shader_frame_uvtiles = uint uint
world_shader = string [terrain_texslots terrain_uvcalcs]
terrain_texslots = count terrain_texslot
terrain_texslot = string uint uint
terrain_uvcalcs = count terrain_uvcalc
terrain_uvcalc = uint uint uint uint
)";

struct Expr {
    enum Kind { Seq, Alt, Opt, Rep, Type, Block } kind = Seq;
    std::string word;  // the type or block name
    std::vector<Expr> parts;
};

bool IsType(std::string_view word) {
    for (std::string_view t : {"uint", "sint", "float", "dword", "string", "time", "count"})
        if (word == t) return true;
    return false;
}

// Reads "a b [c d] {e | f}" up to a closing bracket or the end.
Expr ParseExpr(const std::vector<std::string>& words, size_t& at) {
    Expr alt{Expr::Alt, {}, {Expr{}}};
    while (at < words.size() && words[at] != "]" && words[at] != "}") {
        const std::string& w = words[at++];
        if (w == "|") {
            alt.parts.push_back(Expr{});
        } else if (w == "[" || w == "{") {
            Expr group{w == "[" ? Expr::Opt : Expr::Rep, {}, {ParseExpr(words, at)}};
            ++at;  // the closing bracket
            alt.parts.back().parts.push_back(std::move(group));
        } else {
            alt.parts.back().parts.push_back(Expr{IsType(w) ? Expr::Type : Expr::Block, w, {}});
        }
    }
    return alt.parts.size() == 1 ? std::move(alt.parts[0]) : alt;
}

const std::map<std::string, Expr, std::less<>>& Grammar() {
    static const auto rules = [] {
        std::map<std::string, Expr, std::less<>> out;
        size_t start = 0;
        while (start < kGrammar.size()) {
            size_t end = kGrammar.find('\n', start);
            if (end == std::string_view::npos) end = kGrammar.size();
            std::vector<std::string> words;
            std::string word;
            for (char c : kGrammar.substr(start, end - start)) {
                if (c == ' ' || c == '[' || c == ']' || c == '{' || c == '}' || c == '|') {
                    if (!word.empty()) words.push_back(std::move(word));
                    word.clear();
                    if (c != ' ') words.emplace_back(1, c);
                } else {
                    word += c;
                }
            }
            if (!word.empty()) words.push_back(std::move(word));
            if (words.size() >= 2 && words[1] == "=") {
                size_t at = 2;
                out[words[0]] = ParseExpr(words, at);
            }
            start = end + 1;
        }
        return out;
    }();
    return rules;
}

bool AllDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

std::optional<long> Integer(std::string_view word) {
    long value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return value;
}

std::optional<double> Number(std::string_view word) {
    double value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return value;
}

// Seconds since midnight of "HH:MM:SS".
std::optional<int> Seconds(std::string_view word) {
    if (word.size() != 8 || word[2] != ':' || word[5] != ':') return std::nullopt;
    if (!AllDigits(word.substr(0, 2)) || !AllDigits(word.substr(3, 2)) ||
        !AllDigits(word.substr(6, 2)))
        return std::nullopt;
    long h = *Integer(word.substr(0, 2)), m = *Integer(word.substr(3, 2)),
         s = *Integer(word.substr(6, 2));
    if (h > 24 || m > 59 || s > 59) return std::nullopt;
    return int(h * 3600 + m * 60 + s);
}

std::optional<std::uint32_t> Colour(std::string_view word) {
    if (word.size() != 8) return std::nullopt;
    std::uint32_t value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value, 16);
    if (ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return value;
}

bool ValueFits(std::string_view type, const Node& item) {
    if (!item.isValue) return false;
    const std::string& w = item.name;
    if (type == "string") {
        // The simulators' tokenizer takes a word starting with '#' or '_' for a comment.
        return !w.empty() && (item.quoted || (w[0] != '#' && w[0] != '_'));
    }
    if (item.quoted) return false;
    // Eight digits could as well be a colour; the format never writes a whole number that way.
    if (type == "uint" || type == "count") return AllDigits(w) && w.size() != 8;
    if (type == "sint") return AllDigits(w[0] == '-' ? std::string_view(w).substr(1) : w);
    if (type == "float") {
        for (char c : w)
            if (!std::isdigit(static_cast<unsigned char>(c)) && !std::strchr(".eE+-", c))
                return false;
        return Number(w).has_value();
    }
    if (type == "dword") return Colour(w).has_value();
    if (type == "time") return Seconds(w).has_value();
    return false;
}

std::string Describe(const Expr& e) {
    switch (e.kind) {
        case Expr::Type:
        case Expr::Block:
            return e.word;
        case Expr::Seq:
            return e.parts.empty() ? "nothing" : Describe(e.parts[0]);
        default: {
            std::string out;
            for (const Expr& p : e.parts) out += (out.empty() ? "" : " or ") + Describe(p);
            return out;
        }
    }
}

// Matches block contents the way a table-driven reader does: one token of look-ahead decides
// whether an optional or repeated part is present, and then all of it must follow.
class Matcher {
  public:
    std::string error;

    void Block(const Node& block, const std::string& path) {
        auto rule = Grammar().find(Lower(block.name));
        if (rule == Grammar().end()) return Fail(path + ": no such block");
        size_t at = 0;
        Match(rule->second, block.items, at, path);
        if (error.empty() && at < block.items.size())
            Fail(path + ": '" + block.items[at].name + "' is not allowed here");
    }

  private:
    static std::string Lower(std::string_view s) {
        std::string out(s);
        for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return out;
    }

    void Fail(std::string message) {
        if (error.empty()) error = std::move(message);
    }

    bool Starts(const Expr& e, const std::vector<Node>& items, size_t at) const {
        if (at >= items.size()) return false;
        switch (e.kind) {
            case Expr::Type:
                return ValueFits(e.word, items[at]);
            case Expr::Block:
                return !items[at].isValue && platform::EqualNoCase(items[at].name, e.word);
            case Expr::Seq:
                return !e.parts.empty() && Starts(e.parts[0], items, at);
            default:
                for (const Expr& p : e.parts)
                    if (Starts(p, items, at)) return true;
                return false;
        }
    }

    // Returns how many times a repeated part matched (1 for anything else).
    int Match(const Expr& e, const std::vector<Node>& items, size_t& at, const std::string& path) {
        if (!error.empty()) return 0;
        switch (e.kind) {
            case Expr::Type:
            case Expr::Block:
                if (!Starts(e, items, at)) {
                    Fail(path + ": " +
                         (at < items.size() ? "'" + items[at].name + "'" : "end of block") +
                         " where " + e.word + " belongs");
                    return 0;
                }
                if (e.kind == Expr::Block) Block(items[at], path + "/" + Lower(e.word));
                ++at;
                return 1;
            case Expr::Opt:
                if (Starts(e.parts[0], items, at)) Match(e.parts[0], items, at, path);
                return 1;
            case Expr::Rep: {
                int times = 0;
                while (error.empty() && Starts(e.parts[0], items, at)) {
                    Match(e.parts[0], items, at, path);
                    ++times;
                }
                return times;
            }
            case Expr::Alt:
                for (const Expr& p : e.parts)
                    if (Starts(p, items, at)) return Match(p, items, at, path);
                Fail(path + ": " +
                     (at < items.size() ? "'" + items[at].name + "'" : "end of block") + " where " +
                     Describe(e) + " belongs");
                return 0;
            case Expr::Seq:
                for (size_t i = 0; i < e.parts.size() && error.empty(); ++i) {
                    const Expr& part = e.parts[i];
                    if (part.kind == Expr::Type && part.word == "count" && i + 1 < e.parts.size()) {
                        long declared =
                            at < items.size() ? Integer(items[at].name).value_or(-1) : -1;
                        Match(part, items, at, path);
                        int found = Match(e.parts[++i], items, at, path);
                        if (error.empty() && found != declared)
                            Fail(path + ": declares " + std::to_string(declared) + ", holds " +
                                 std::to_string(found));
                    } else {
                        Match(part, items, at, path);
                    }
                }
                return 1;
        }
        return 0;
    }
};

Shader ShaderOf(const Node* animShader) {
    Shader s;
    const Node* shader = animShader ? animShader->Child("world_shader") : nullptr;
    if (!shader) return s;
    auto values = shader->Values();
    if (!values.empty()) s.mode = values[0];
    if (const Node* slot = shader->Find({"terrain_texslots", "terrain_texslot"})) {
        auto slotValues = slot->Values();
        if (!slotValues.empty()) s.texture = slotValues[0];
    }
    return s;
}

std::string FirstValue(const Node* node) {
    if (!node) return {};
    auto values = node->Values();
    return values.empty() ? std::string() : values[0];
}

std::vector<const Node*> ListItems(const Node* list, std::string_view item) {
    return list ? list->Children(item) : std::vector<const Node*>{};
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
    Matcher matcher;
    if (document.header != kHeader) {
        matcher.error = "header '" + document.header + "', expected '" + std::string(kHeader) + "'";
    } else if (document.root.items.size() != 1 || document.root.items[0].isValue ||
               !platform::EqualNoCase(document.root.items[0].name, "world")) {
        matcher.error = "the file must hold exactly one top-level world block";
    } else {
        matcher.Block(document.root.items[0], "world");
    }
    result.error = std::move(matcher.error);

    const Node* world = document.root.Child("world");
    if (!world) return result;
    Environment& env = result.environment;
    env.fogDistance = Integer(FirstValue(world->Child("world_fog_distance")));
    env.fogDayColour = Colour(FirstValue(world->Child("world_fog_day_colour")));
    env.fogNightColour = Colour(FirstValue(world->Child("world_fog_night_colour")));
    for (const Node* layer :
         ListItems(world->Find({"world_water", "world_water_layers"}), "world_water_layer")) {
        WaterLayer w;
        w.height = Number(FirstValue(layer->Child("world_water_layer_height"))).value_or(0);
        w.shader = ShaderOf(layer->Child("world_anim_shader"));
        env.water.push_back(w);
    }
    for (const Node* layer :
         ListItems(world->Find({"world_sky", "world_sky_layers"}), "world_sky_layer")) {
        SkyLayer s;
        if (const Node* f = layer->Child("world_sky_layer_fadein"); f && f->Values().size() == 2) {
            s.fadeInBegin = f->Values()[0];
            s.fadeInEnd = f->Values()[1];
        }
        s.shader = ShaderOf(layer->Child("world_anim_shader"));
        env.sky.push_back(s);
    }
    for (const Node* sat :
         ListItems(world->Find({"world_sky", "world_sky_satellites"}), "world_sky_satellite")) {
        Satellite s;
        s.light = int(Integer(FirstValue(sat->Child("world_sky_satellite_light"))).value_or(-1));
        s.riseSeconds =
            Seconds(FirstValue(sat->Child("world_sky_satellite_rise_time"))).value_or(0);
        s.setSeconds = Seconds(FirstValue(sat->Child("world_sky_satellite_set_time"))).value_or(0);
        s.shader = ShaderOf(sat->Child("world_anim_shader"));
        env.satellites.push_back(s);
    }
    if (const Node* p = world->Child("world_precipitation")) {
        Precipitation out;
        out.type = FirstValue(p->Child("world_precipitation_type"));
        out.density = Integer(FirstValue(p->Child("world_precipitation_density"))).value_or(0);
        out.speed = Integer(FirstValue(p->Child("world_precipitation_speed"))).value_or(0);
        out.shader = ShaderOf(p->Child("world_anim_shader"));
        env.precipitation = out;
    }
    return result;
}

}  // namespace envcheck
