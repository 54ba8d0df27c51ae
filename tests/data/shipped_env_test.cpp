// The prepared fog files are what the player sees in the simulator: every one must read as a real
// environment file (the grammar the simulators' readers parse, with water, sky, sun and moon),
// carry its own fog distance and match the weather whose files it replaces.
#include <gtest/gtest.h>

#include <charconv>
#include <set>
#include <string>

#include "data/env_reader.h"
#include "support/fixtures.h"

namespace {

namespace fs = std::filesystem;
using envcheck::DecodeUtf16Le;
using envcheck::Document;
using envcheck::Environment;
using envcheck::Node;
using envcheck::ParseText;
using envcheck::ReadEnvironment;

constexpr std::string_view kHeader = "SIMISA@@@@@@@@@@JINX0E0t______";

fs::path Dump() { return testsupport::SourceDir() / "data" / "Dump"; }

// The sky textures a fog run copies into the route: rain runs take the pair named after snow,
// snow runs the pair named after rain.
std::set<std::string> InstalledSkies(const std::string& weather) {
    if (weather == "rain") return {"ZEL_snowsky.ace", "ZEL_snowskylo.ace"};
    if (weather == "snow") return {"ZEL_rainsky.ace", "ZEL_rainskylo.ace"};
    return {};
}

std::optional<long> Integer(const std::string& word) {
    long value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return value;
}

std::vector<double> Numbers(const Node& node) {
    std::vector<double> out;
    for (const std::string& v : node.values) out.push_back(std::stod(v));
    return out;
}

struct EnvFile {
    std::string weather;
    int level;
};
void PrintTo(const EnvFile& f, std::ostream* os) { *os << f.weather << f.level << ".env"; }

std::vector<EnvFile> AllEnvFiles() {
    std::vector<EnvFile> files;
    for (const char* weather : {"sun", "rain", "snow"})
        for (int level : {25, 50, 75, 100, 125}) files.push_back({weather, level});
    return files;
}

class ShippedEnvFile : public testing::TestWithParam<EnvFile> {
protected:
    void SetUp() override {
        const EnvFile& f = GetParam();
        path_ = Dump() / f.weather / (f.weather + std::to_string(f.level) + ".env");
        ASSERT_TRUE(fs::is_regular_file(path_)) << path_;
        bytes_ = testsupport::ReadFile(path_);
        auto text = DecodeUtf16Le(bytes_);
        ASSERT_TRUE(text) << path_ << " is not UTF-16LE with a byte order mark";
        text_ = *text;
        auto parsed = ParseText(text_);
        ASSERT_TRUE(parsed.document) << path_ << ": " << parsed.error;
        doc_ = std::move(*parsed.document);
        world_ = doc_.root.Child("world");
        ASSERT_NE(world_, nullptr) << "no top-level world ( ... )";
        auto read = ReadEnvironment(doc_);
        env_ = read.environment;
        warnings_ = read.warnings;
    }

    fs::path path_;
    std::string bytes_, text_;
    Document doc_;
    const Node* world_ = nullptr;
    Environment env_;
    std::vector<std::string> warnings_;
};

TEST_P(ShippedEnvFile, IsSimulatorTextWithOneWorld) {
    EXPECT_EQ(doc_.header, kHeader);
    for (size_t i = text_.find('\n'); i != std::string::npos; i = text_.find('\n', i + 1))
        ASSERT_TRUE(i > 0 && text_[i - 1] == '\r') << "bare LF at " << i;
    ASSERT_EQ(doc_.root.children.size(), 1u);
    for (const char* part : {"world_water", "world_fog", "world_sky"})
        EXPECT_NE(world_->Child(part), nullptr) << part;
}

// What the simulators take: water layers, sky layers, a sun and a moon, with the stock textures
// every route carries; and not one block they would skip or misread.
TEST_P(ShippedEnvFile, GivesWaterSkySunAndMoonToTheReaders) {
    for (const std::string& w : warnings_) ADD_FAILURE() << w;
    ASSERT_EQ(env_.water.size(), 2u);
    EXPECT_EQ(env_.water[0].shader.texture, "waterbot.ace");
    EXPECT_EQ(env_.water[1].shader.texture, "watertop.ace");
    EXPECT_LT(env_.water[0].height, env_.water[1].height) << "the bottom layer lies below the top";
    ASSERT_EQ(env_.sky.size(), 3u);
    EXPECT_EQ(env_.sky[0].shader.texture, "starsky.ace");
    for (const auto& layer : env_.sky) EXPECT_FALSE(layer.shader.mode.empty());

    const envcheck::Satellite *sun = env_.Sun(), *moon = env_.Moon();
    ASSERT_TRUE(sun && moon);
    EXPECT_EQ(sun->shader.texture, "sun.ace");
    EXPECT_EQ(moon->shader.texture, "moon.ace");
    EXPECT_LT(sun->riseSeconds, 12 * 3600);
    EXPECT_GT(sun->setSeconds, 12 * 3600);
}

TEST_P(ShippedEnvFile, FogDistanceIsTheLevelInMetres) {
    std::vector<const Node*> distances;
    doc_.root.CollectAll("world_fog_distance", distances);
    ASSERT_EQ(distances.size(), 1u);
    EXPECT_EQ(env_.fogDistance, GetParam().level);

    const Node* colour = world_->Find({"world_fog", "world_fog_colour"});
    ASSERT_NE(colour, nullptr);
    ASSERT_EQ(colour->values.size(), 3u);
    for (double c : Numbers(*colour)) EXPECT_TRUE(c >= 0.0 && c <= 1.0) << c;
}

TEST_P(ShippedEnvFile, PrecipitationExactlyForRainAndSnow) {
    std::vector<const Node*> precipitation;
    doc_.root.CollectAll("world_precipitation", precipitation);
    if (GetParam().weather == "sun") {
        EXPECT_TRUE(precipitation.empty());
        return;
    }
    ASSERT_EQ(precipitation.size(), 1u);
    const Node* type = precipitation[0]->Child("world_precipitation_type");
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->values, std::vector<std::string>{GetParam().weather});
    const Node* density = precipitation[0]->Child("world_precipitation_density");
    ASSERT_NE(density, nullptr);
    EXPECT_GT(Numbers(*density).at(0), 0.0);
}

// Lists in this format state their length up front; a wrong count breaks the whole file.
TEST_P(ShippedEnvFile, CountedListsHoldWhatTheyDeclare) {
    const std::pair<const char*, const char*> lists[] = {
        {"world_water_layers", "world_water_layer"},
        {"world_sky_layers", "world_sky_layer"},
        {"world_sky_satellites", "world_sky_satellite"},
        {"world_anim_shader_frames", "world_anim_shader_frame"},
        {"terrain_texslots", "terrain_texslot"},
    };
    for (auto [listName, itemName] : lists) {
        std::vector<const Node*> found;
        doc_.root.CollectAll(listName, found);
        ASSERT_FALSE(found.empty()) << listName;
        for (const Node* list : found) {
            ASSERT_FALSE(list->values.empty()) << listName << " has no count";
            EXPECT_EQ(Integer(list->values[0]), long(list->Children(itemName).size())) << listName;
        }
    }
}

TEST_P(ShippedEnvFile, SkyUsesOnlyTheTexturesInstalledForItsWeather) {
    std::vector<const Node*> slots;
    doc_.root.CollectAll("terrain_texslot", slots);
    std::set<std::string> ours, onSkyLayers;
    for (const Node* slot : slots) {
        ASSERT_FALSE(slot->values.empty());
        if (slot->values[0].rfind("ZEL_", 0) == 0) ours.insert(slot->values[0]);
    }
    for (const auto& layer : env_.sky)
        if (layer.shader.texture.rfind("ZEL_", 0) == 0) onSkyLayers.insert(layer.shader.texture);
    EXPECT_EQ(ours, InstalledSkies(GetParam().weather));
    EXPECT_EQ(onSkyLayers, ours) << "our textures belong on the sky layers";
    for (const std::string& name : ours)
        EXPECT_TRUE(fs::is_regular_file(Dump() / "Textures" / name)) << name;
}

INSTANTIATE_TEST_SUITE_P(AllLevels, ShippedEnvFile, testing::ValuesIn(AllEnvFiles()),
                         [](const testing::TestParamInfo<EnvFile>& info) {
                             return info.param.weather + std::to_string(info.param.level);
                         });

double FogBrightness(const std::string& weather) {
    auto file = Dump() / weather / (weather + "75.env");
    auto parsed = ParseText(DecodeUtf16Le(testsupport::ReadFile(file)).value_or(""));
    if (!parsed.document) return -1;
    const Node* colour = parsed.document->root.Find({"world", "world_fog", "world_fog_colour"});
    if (!colour) return -1;
    double sum = 0;
    for (double c : Numbers(*colour)) sum += c;
    return sum / 3;
}

TEST(ShippedEnvFiles, FogColourFollowsTheWeather) {
    double sun = FogBrightness("sun"), rain = FogBrightness("rain"), snow = FogBrightness("snow");
    EXPECT_LT(rain, sun) << "rain fog is the darkest";
    EXPECT_LT(sun, snow) << "snow fog is the lightest";
    EXPECT_GT(rain, 0.3) << "fog is never near black";
}

TEST(EnvReader, DecodesOnlyUtf16LeWithByteOrderMark) {
    using namespace std::string_literals;
    EXPECT_EQ(DecodeUtf16Le("\xFF\xFE" "a\0(\0"s), "a(");
    EXPECT_EQ(DecodeUtf16Le("\xFF\xFE" "\xE9\0"s), "\xC3\xA9");
    EXPECT_EQ(DecodeUtf16Le("\xFF\xFE" "\x3D\xD8\x82\xDE"s), "\xF0\x9F\x9A\x82");
    EXPECT_FALSE(DecodeUtf16Le("a\0(\0"s)) << "no byte order mark";
    EXPECT_FALSE(DecodeUtf16Le("\xFE\xFF\0a"s)) << "big-endian";
    EXPECT_FALSE(DecodeUtf16Le("\xFF\xFE" "a\0("s)) << "odd length";
    EXPECT_FALSE(DecodeUtf16Le("\xFF\xFE" "\x3D\xD8" "a\0"s)) << "unpaired high surrogate";
    EXPECT_FALSE(DecodeUtf16Le("\xFF\xFE" "\x82\xDE"s)) << "lone low surrogate";
}

TEST(EnvReader, ParsesNestedBlocksValuesAndQuotedText) {
    auto parsed = ParseText("HEAD\r\n\r\nworld ( w ( n ( 2 a ( x ) a ( \"y ( z\" ) ) ) )");
    ASSERT_TRUE(parsed.document) << parsed.error;
    EXPECT_EQ(parsed.document->header, "HEAD");
    const Node* n = parsed.document->root.Find({"WORLD", "W", "n"});
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->values, std::vector<std::string>{"2"});
    ASSERT_EQ(n->Children("a").size(), 2u);
    EXPECT_EQ(n->children[1].values, std::vector<std::string>{"y ( z"});
}

TEST(EnvReader, RejectsBrokenStructure) {
    const char* broken[] = {
        "H\nworld ( w ( a ( 1 )",        // unclosed
        "H\nworld ( w ( a ( 1 ) ) ) )",  // one ')' too many
        "H\nworld ( a ( \"open ) ) )",   // unterminated quote
        "H\nstray world ( )",            // value outside any block
        "H\nworld ( ( 1 ) )",            // block without a name
    };
    for (const char* text : broken) EXPECT_FALSE(ParseText(text).document) << text;
}

// A small file the way the readers parse it, and the mistakes they would skip or misread.
TEST(EnvReader, ReportsWhatTheSimulatorsWouldSkipOrMisread) {
    const std::string shader =
        "world_anim_shader ( world_anim_shader_frames ( 1 world_anim_shader_frame ( "
        "world_anim_shader_frame_uvtiles ( 1 1 ) ) ) world_shader ( BlendATex terrain_texslots ( 1 "
        "terrain_texslot ( x.ace 1 0 ) ) ) )";
    const std::string good =
        "H\nworld ( world_water ( world_water_layers ( 1 world_water_layer ( "
        "world_water_layer_height ( 0 ) " + shader + " ) ) ) "
        "world_sky ( world_sky_layers ( 1 world_sky_layer ( world_sky_layer_fadein ( 00:00:00 "
        "00:00:00 ) " + shader + " ) ) world_sky_satellites ( 1 world_sky_satellite ( "
        "world_sky_satellite_light ( 1 ) world_sky_satellite_rise_time ( 06:30:00 ) "
        "world_sky_satellite_set_time ( \"19:00:00\" ) " + shader + " ) ) ) )";
    auto read = [](const std::string& text) {
        auto parsed = ParseText(text);
        EXPECT_TRUE(parsed.document) << parsed.error;
        return ReadEnvironment(parsed.document.value_or(Document{}));
    };
    auto ok = read(good);
    ASSERT_TRUE(ok.warnings.empty()) << ok.warnings.front();
    ASSERT_NE(ok.environment.Sun(), nullptr);
    EXPECT_EQ(ok.environment.Sun()->riseSeconds, 6 * 3600 + 30 * 60);
    EXPECT_EQ(ok.environment.Sun()->setSeconds, 19 * 3600);
    EXPECT_EQ(ok.environment.water.at(0).shader.texture, "x.ace");

    auto change = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    const std::pair<std::string, const char*> broken[] = {
        {"H\nTr_Env ( " + good.substr(2) + " )", "world wrapped in another block"},
        {change("world_sky_layers ( 1", "world_sky_layers ( 2"), "count above the items"},
        {change("world_sky_layers ( 1", "world_sky_nlayers ( 1"), "layers not in world_sky_layers"},
        {change("06:30:00", "23400"), "plain seconds for a time"},
        {change("world_sky_satellite_light ( 1 ) ", ""), "satellite without its light"},
        {change("BlendATex terrain_texslots", "terrain_texslots"), "shader without its mode word"},
        {change("terrain_texslot (", "world_shader_texslot ("), "unknown slot block"},
        {change("x.ace", "_x.ace"), "a name the readers take for a comment"},
        {change("height ( 0 )", "height ( low )"), "not a number"},
    };
    for (const auto& [text, what] : broken) EXPECT_FALSE(read(text).warnings.empty()) << what;
}

}  // namespace
