// The prepared fog files are what the player sees in the simulator: every one must be a real
// environment file (matching the format's grammar token by token, with water, sky, sun and moon),
// carry its own fog distance where the simulator reads it and match the weather whose files it
// replaces.
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

fs::path Dump() {
    return testsupport::SourceDir() / "data" / "Dump";
}

// The cloud layers' textures, main layer then low layer. A fog run copies the ZEL_ pair into the
// route: rain runs the pair named after snow, snow runs the pair named after rain. Clear files
// keep the route's own clouds.
std::pair<std::string, std::string> CloudTextures(const std::string& weather) {
    if (weather == "rain") return {"ZEL_snowsky.ace", "ZEL_snowskylo.ace"};
    if (weather == "snow") return {"ZEL_rainsky.ace", "ZEL_rainskylo.ace"};
    return {"daysky.ace", "skylow.ace"};
}

std::optional<long> Integer(const std::string& word) {
    long value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return value;
}

// The mean of red, green and blue of an AARRGGBB colour, 0..1.
double Brightness(std::uint32_t colour) {
    return ((colour >> 16 & 0xFF) + (colour >> 8 & 0xFF) + (colour & 0xFF)) / (3 * 255.0);
}

struct EnvFile {
    std::string weather;
    int level;
};
void PrintTo(const EnvFile& f, std::ostream* os) {
    *os << f.weather << f.level << ".env";
}

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
        error_ = read.error;
    }

    fs::path path_;
    std::string bytes_, text_;
    Document doc_;
    const Node* world_ = nullptr;
    Environment env_;
    std::string error_;
};

TEST_P(ShippedEnvFile, IsSimulatorTextWithOneWorld) {
    EXPECT_EQ(doc_.header, envcheck::kHeader);
    EXPECT_EQ(text_.substr(0, envcheck::kHeader.size() + 2),
              std::string(envcheck::kHeader) + "\r\n");
    for (size_t i = text_.find('\n'); i != std::string::npos; i = text_.find('\n', i + 1))
        ASSERT_TRUE(i > 0 && text_[i - 1] == '\r') << "bare LF at " << i;
    ASSERT_EQ(doc_.root.items.size(), 1u);
    for (const char* part : {"world_sky", "world_water", "world_wind"})
        EXPECT_NE(world_->Child(part), nullptr) << part;
}

// The whole file keeps to the grammar; and what the simulators take from it: water layers, sky
// layers, a sun and a moon, with the stock textures every route carries.
TEST_P(ShippedEnvFile, GivesWaterSkySunAndMoonToTheReaders) {
    EXPECT_EQ(error_, "");
    ASSERT_EQ(env_.water.size(), 3u);
    EXPECT_EQ(env_.water[0].shader.texture, "waterbot.ace");
    EXPECT_EQ(env_.water[1].shader.texture, "watermid.ace");
    EXPECT_EQ(env_.water[2].shader.texture, "watertop.ace");
    EXPECT_LT(env_.water[0].height, env_.water[2].height) << "the bottom layer lies below the top";
    ASSERT_EQ(env_.sky.size(), 3u);
    EXPECT_EQ(env_.sky[1].shader.texture, "starsky.ace");
    EXPECT_FALSE(env_.sky[1].fadeInBegin.empty()) << "the stars fade in at night";
    for (const auto& layer : env_.sky) EXPECT_FALSE(layer.shader.mode.empty());

    const envcheck::Satellite *sun = env_.Sun(), *moon = env_.Moon();
    ASSERT_TRUE(sun && moon);
    EXPECT_EQ(sun->shader.texture, "sun.ace");
    EXPECT_EQ(moon->shader.texture, "moon.ace");
    EXPECT_LT(sun->riseSeconds, 12 * 3600);
    EXPECT_GT(sun->setSeconds, 12 * 3600);
}

// The simulator reads the visibility from world_fog_distance directly under world, in whole
// metres, with a day and a night colour beside it.
TEST_P(ShippedEnvFile, FogDistanceIsTheLevelInMetres) {
    std::vector<const Node*> distances;
    doc_.root.CollectAll("world_fog_distance", distances);
    ASSERT_EQ(distances.size(), 1u);
    EXPECT_EQ(distances[0], world_->Child("world_fog_distance")) << "not directly under world";
    EXPECT_EQ(env_.fogDistance, GetParam().level);

    ASSERT_TRUE(env_.fogDayColour && env_.fogNightColour);
    EXPECT_EQ(*env_.fogDayColour >> 24, 0xFFu) << "opaque";
    EXPECT_LT(Brightness(*env_.fogNightColour), Brightness(*env_.fogDayColour) / 2)
        << "night fog is dark";
}

TEST_P(ShippedEnvFile, PrecipitationExactlyForRainAndSnow) {
    std::vector<const Node*> precipitation;
    doc_.root.CollectAll("world_precipitation", precipitation);
    if (GetParam().weather == "sun") {
        EXPECT_TRUE(precipitation.empty());
        EXPECT_FALSE(env_.precipitation);
        return;
    }
    ASSERT_EQ(precipitation.size(), 1u);
    ASSERT_TRUE(env_.precipitation);
    EXPECT_EQ(env_.precipitation->type, "world_precipitation_type_" + GetParam().weather);
    EXPECT_GT(env_.precipitation->density, 0);
    EXPECT_GT(env_.precipitation->speed, 0);
    EXPECT_EQ(env_.precipitation->shader.texture, GetParam().weather + ".ace");
}

// Lists in this format state their length up front; a wrong count breaks the whole file.
TEST_P(ShippedEnvFile, CountedListsHoldWhatTheyDeclare) {
    const std::pair<const char*, const char*> lists[] = {
        {"world_water_layers", "world_water_layer"},
        {"world_sky_layers", "world_sky_layer"},
        {"world_sky_satellites", "world_sky_satellite"},
        {"world_anim_shader_frames", "world_anim_shader_frame"},
        {"terrain_texslots", "terrain_texslot"},
        {"terrain_uvcalcs", "terrain_uvcalc"},
        {"world_wind_layers", "world_wind_layer"},
    };
    for (auto [listName, itemName] : lists) {
        std::vector<const Node*> found;
        doc_.root.CollectAll(listName, found);
        ASSERT_FALSE(found.empty()) << listName;
        for (const Node* list : found) {
            ASSERT_FALSE(list->Values().empty()) << listName << " has no count";
            EXPECT_EQ(Integer(list->Values()[0]), long(list->Children(itemName).size()))
                << listName;
        }
    }
}

TEST_P(ShippedEnvFile, SkyUsesOnlyTheTexturesInstalledForItsWeather) {
    std::vector<const Node*> slots;
    doc_.root.CollectAll("terrain_texslot", slots);
    std::set<std::string> ours;
    for (const Node* slot : slots) {
        ASSERT_FALSE(slot->Values().empty());
        if (slot->Values()[0].rfind("ZEL_", 0) == 0) ours.insert(slot->Values()[0]);
    }
    const auto [main, low] = CloudTextures(GetParam().weather);
    ASSERT_EQ(env_.sky.size(), 3u);
    EXPECT_EQ(env_.sky[0].shader.texture, main);
    EXPECT_EQ(env_.sky[2].shader.texture, low);
    EXPECT_EQ(env_.sky[2].shader.mode, "BlendATexDiff") << "the low clouds are see-through";
    std::set<std::string> expected;
    for (const std::string& name : {main, low})
        if (name.rfind("ZEL_", 0) == 0) expected.insert(name);
    EXPECT_EQ(ours, expected) << "our textures belong on the cloud layers only";
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
    auto day = ReadEnvironment(*parsed.document).environment.fogDayColour;
    return day ? Brightness(*day) : -1;
}

TEST(ShippedEnvFiles, FogColourFollowsTheWeather) {
    double sun = FogBrightness("sun"), rain = FogBrightness("rain"), snow = FogBrightness("snow");
    EXPECT_LT(rain, sun) << "rain fog is the darkest";
    EXPECT_LT(sun, snow) << "snow fog is the lightest";
    EXPECT_GT(rain, 0.3) << "fog is never near black";
}

TEST(EnvReader, DecodesOnlyUtf16LeWithByteOrderMark) {
    using namespace std::string_literals;
    EXPECT_EQ(DecodeUtf16Le("\xFF\xFE"
                            "a\0(\0"s),
              "a(");
    EXPECT_EQ(DecodeUtf16Le("\xFF\xFE"
                            "\xE9\0"s),
              "\xC3\xA9");
    EXPECT_EQ(DecodeUtf16Le("\xFF\xFE"
                            "\x3D\xD8\x82\xDE"s),
              "\xF0\x9F\x9A\x82");
    EXPECT_FALSE(DecodeUtf16Le("a\0(\0"s)) << "no byte order mark";
    EXPECT_FALSE(DecodeUtf16Le("\xFE\xFF\0a"s)) << "big-endian";
    EXPECT_FALSE(
        DecodeUtf16Le("\xFF\xFE"
                      "a\0("s))
        << "odd length";
    EXPECT_FALSE(
        DecodeUtf16Le("\xFF\xFE"
                      "\x3D\xD8"
                      "a\0"s))
        << "unpaired high surrogate";
    EXPECT_FALSE(
        DecodeUtf16Le("\xFF\xFE"
                      "\x82\xDE"s))
        << "lone low surrogate";
}

TEST(EnvReader, ParsesNestedBlocksValuesAndQuotedText) {
    auto parsed = ParseText("HEAD\r\n\r\nworld ( w ( n ( 2 a ( x ) a ( \"y ( z\" ) ) ) )");
    ASSERT_TRUE(parsed.document) << parsed.error;
    EXPECT_EQ(parsed.document->header, "HEAD");
    const Node* n = parsed.document->root.Find({"WORLD", "W", "n"});
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->Values(), std::vector<std::string>{"2"});
    ASSERT_EQ(n->Children("a").size(), 2u);
    EXPECT_EQ(n->items[2].Values(), std::vector<std::string>{"y ( z"});
    EXPECT_TRUE(n->items[2].items[0].quoted);
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

// A small file that keeps to the grammar, and one change at a time that breaks it: every token
// the grammar does not allow where it stands is an error.
TEST(EnvReader, ReportsEveryTokenTheGrammarDoesNotAllow) {
    const std::string shader =
        "world_anim_shader ( world_anim_shader_frames ( 1 world_anim_shader_frame ( "
        "world_anim_shader_frame_uvscroll ( 0 0.02 ) ) ) world_shader ( BlendATex terrain_texslots "
        "( 1 terrain_texslot ( x.ace 1 0 ) ) terrain_uvcalcs ( 1 terrain_uvcalc ( 1 0 0 0 ) ) ) )";
    const std::string geometry =
        "world_sky_layer_top ( world_sky_layer_top_nfaces ( 8 ) world_sky_layer_top_radius ( 660 ) "
        "world_sky_layer_top_height ( 1000 ) ) world_sky_layer_edge ( world_sky_layer_edge_steps ( "
        "1 world_sky_layer_edge_step_height ( 300 ) world_sky_layer_edge_step_radius ( 1950 ) ) ) ";
    const std::string satellite =
        "world_sky_satellite_low_scale ( 800 ) world_sky_satellite_high_scale ( 400 ) "
        "world_sky_satellite_rise_position ( 95 ) world_sky_satellite_rise_time ( 06:30:00 ) "
        "world_sky_satellite_set_time ( 19:00:00 ) world_sky_satellite_dir_rise_colour ( ffffee8b "
        ") "
        "world_sky_satellite_dir_high_colour ( ffffffff ) world_sky_satellite_dir_set_colour ( "
        "ffffb573 ) world_sky_satellite_amb_rise_colour ( ff202020 ) "
        "world_sky_satellite_amb_high_colour ( ff808080 ) world_sky_satellite_amb_set_colour ( "
        "ff202020 ) world_sky_satellite_light ( 1 ) ";
    const std::string good =
        std::string(envcheck::kHeader) +
        "\r\n\r\nworld ( world_fog_distance ( 50 ) world_fog_day_colour ( ff9499a1 ) "
        "world_fog_night_colour ( ff101214 ) world_sky ( world_sky_nlayers_behind_satellites ( 2 ) "
        "world_sky_layers ( 1 world_sky_layer ( world_sky_layer_fadein ( 18:00:00 20:00:00 ) "
        "world_sky_layer_fadeout ( 06:00:00 08:00:00 ) " +
        geometry + shader +
        " ) ) "
        "world_sky_horizon ( world_shader ( Diffuse ) ) world_sky_satellites ( 1 "
        "world_sky_satellite ( " +
        satellite + shader +
        " ) ) ) world_water ( "
        "world_water_terrain_patch_map ( 256 Wsib-W.raw ) world_water_wave_height ( 0 ) "
        "world_water_wave_speed ( 0 ) world_water_layers ( 1 world_water_layer ( "
        "world_water_layer_height ( -0.5 ) " +
        shader +
        " ) ) ) world_precipitation ( "
        "world_precipitation_type ( world_precipitation_type_rain ) world_precipitation_density ( "
        "2048 ) world_precipitation_speed ( 40 ) " +
        shader +
        " ) world_wind ( world_wind_layers ( "
        "1 world_wind_layer ( world_wind_layer_maxheight ( 100000 ) world_wind_layer_direction ( 1 "
        "0 0 ) world_wind_layer_speed ( 3 ) world_wind_layer_turbulencep ( 0.2 ) ) ) ) )";
    auto read = [](const std::string& text) {
        auto parsed = ParseText(text);
        EXPECT_TRUE(parsed.document) << parsed.error;
        return ReadEnvironment(parsed.document.value_or(Document{}));
    };
    auto ok = read(good);
    ASSERT_EQ(ok.error, "");
    EXPECT_EQ(ok.environment.fogDistance, 50);
    EXPECT_EQ(ok.environment.fogDayColour, 0xff9499a1u);
    ASSERT_NE(ok.environment.Sun(), nullptr);
    EXPECT_EQ(ok.environment.Sun()->riseSeconds, 6 * 3600 + 30 * 60);
    EXPECT_EQ(ok.environment.Sun()->setSeconds, 19 * 3600);
    EXPECT_EQ(ok.environment.water.at(0).shader.texture, "x.ace");
    EXPECT_EQ(ok.environment.precipitation->type, "world_precipitation_type_rain");

    auto change = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? good : text.replace(at, from.size(), to);
    };
    const std::string water =
        good.substr(good.find("world_water ("),
                    good.find(" world_precipitation (") - good.find("world_water ("));
    const std::pair<std::string, const char*> broken[] = {
        {change("JINX0w0t", "JINX0E0t"), "format code of no file type"},
        {change("world ( ", "Tr_Env ( world ( ") + " )", "world wrapped in another block"},
        {change(water, "").insert(good.find("world_sky ("), water + " "), "water before sky"},
        {change("world_fog_distance ( 50 )", "world_fog ( world_fog_distance ( 50 ) )"),
         "fog wrapped in a block of no grammar"},
        {change("world_fog_day_colour", "world_fog_colour ( 0.5 0.5 0.5 ) world_fog_day_colour"),
         "a colour token the format does not have"},
        {change("world_fog_night_colour ( ff101214 ) ", ""),
         "day colour without its night partner"},
        {change("ff9499a1", "9499a1"), "colour of six digits"},
        {change("50 )", "50.5 )"), "fog distance not whole metres"},
        {change("world_sky_layer_fadeout ( 06:00:00 08:00:00 ) ", ""), "fadein without fadeout"},
        {change("world_sky_layer_top ( ", "world_sky_layer_topp ( "), "layer without its top"},
        {change("world_sky_nlayers_behind_satellites ( 2 ) ", ""), "nlayers missing"},
        {change("world_sky_horizon ( world_shader ( Diffuse ) ) ", ""), "horizon missing"},
        {change("world_sky_layers ( 1", "world_sky_layers ( 2"), "count above the items"},
        {change(" terrain_uvcalcs ( 1 terrain_uvcalc ( 1 0 0 0 ) )", ""),
         "texslots without uvcalcs"},
        {change("uvscroll ( 0 0.02 )", "uvscroll ( 0.0005 0 )"), "decimal where a whole number"},
        {change("wave_height ( 0 )", "wave_height ( 0.06 )"), "decimal wave height"},
        {change("world_water_terrain_patch_map ( 256 Wsib-W.raw ) ", ""), "patch map missing"},
        {change("world_sky_satellite_light ( 1 ) ", "")
             .insert(good.find("world_sky_satellite_low"), "world_sky_satellite_light ( 1 ) "),
         "satellite tokens out of order"},
        {change("world_sky_satellite_amb_set_colour ( ff202020 ) ", ""),
         "satellite colour missing"},
        {change("06:30:00", "23400"), "plain seconds for a time"},
        {change("06:30:00", "\"06:30:00\""), "a quoted time"},
        {change("density ( 2048 )", "density ( 0.6 ) world_precipitation_size ( 0.8 )"),
         "decimal density and a size token"},
        {change("x.ace", "_x.ace"), "a name the readers take for a comment"},
        {change(" world_wind ( ", " world_windy ( "), "wind missing"},
        {good.substr(0, good.size() - 2) + " world_wind ( world_wind_layers ( 0 ) ) )",
         "a second wind block"},
    };
    for (const auto& [text, what] : broken) EXPECT_NE(read(text).error, "") << what;
}

}  // namespace
