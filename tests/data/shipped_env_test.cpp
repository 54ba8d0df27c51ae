// The prepared fog files are what the player sees in the simulator: every one must parse, carry
// its own fog distance and match the weather whose files it replaces.
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
using envcheck::Node;
using envcheck::ParseText;

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
        world_ = doc_.root.Find({"Tr_Env", "world"});
        ASSERT_NE(world_, nullptr) << "no Tr_Env ( world ( ... ) )";
    }

    fs::path path_;
    std::string bytes_, text_;
    Document doc_;
    const Node* world_ = nullptr;
};

TEST_P(ShippedEnvFile, IsSimulatorTextWithOneWorld) {
    EXPECT_EQ(doc_.header, kHeader);
    for (size_t i = text_.find('\n'); i != std::string::npos; i = text_.find('\n', i + 1))
        ASSERT_TRUE(i > 0 && text_[i - 1] == '\r') << "bare LF at " << i;
    ASSERT_EQ(doc_.root.children.size(), 1u);
    EXPECT_EQ(doc_.root.children[0].children.size(), 1u) << "Tr_Env holds only world";
    for (const char* part : {"world_water", "world_fog", "world_sky"})
        EXPECT_NE(world_->Child(part), nullptr) << part;
}

TEST_P(ShippedEnvFile, FogDistanceIsTheLevelInMetres) {
    std::vector<const Node*> distances;
    doc_.root.CollectAll("world_fog_distance", distances);
    ASSERT_EQ(distances.size(), 1u);
    ASSERT_EQ(distances[0]->values.size(), 1u);
    EXPECT_EQ(Integer(distances[0]->values[0]), GetParam().level);

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
    const Node* sky = world_->Child("world_sky");
    const Node* nlayers = sky->Child("world_sky_nlayers");
    ASSERT_NE(nlayers, nullptr);
    EXPECT_EQ(Integer(nlayers->values.at(0)), long(sky->Children("world_sky_layer").size()));

    const std::pair<const char*, const char*> lists[] = {
        {"world_water_layers", "world_water_layer"},
        {"world_sky_satellites", "world_sky_satellite"},
        {"world_anim_shader_frames", "world_anim_shader_frame"},
        {"world_shader_texslots", "world_shader_texslot"},
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
    doc_.root.CollectAll("world_shader_texslot", slots);
    std::set<std::string> ours;
    for (const Node* slot : slots) {
        ASSERT_FALSE(slot->values.empty());
        if (slot->values[0].rfind("ZEL_", 0) == 0) ours.insert(slot->values[0]);
    }
    EXPECT_EQ(ours, InstalledSkies(GetParam().weather));
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
    const Node* colour = parsed.document->root.Find({"Tr_Env", "world", "world_fog", "world_fog_colour"});
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
    auto parsed = ParseText("HEAD\r\n\r\nTr_Env ( world ( n ( 2 a ( x ) a ( \"y ( z\" ) ) ) )");
    ASSERT_TRUE(parsed.document) << parsed.error;
    EXPECT_EQ(parsed.document->header, "HEAD");
    const Node* n = parsed.document->root.Find({"TR_ENV", "World", "n"});
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->values, std::vector<std::string>{"2"});
    ASSERT_EQ(n->Children("a").size(), 2u);
    EXPECT_EQ(n->children[1].values, std::vector<std::string>{"y ( z"});
}

TEST(EnvReader, RejectsBrokenStructure) {
    const char* broken[] = {
        "H\nTr_Env ( world ( a ( 1 )",          // unclosed
        "H\nTr_Env ( world ( a ( 1 ) ) ) )",    // one ')' too many
        "H\nTr_Env ( a ( \"open ) ) )",         // unterminated quote
        "H\nstray Tr_Env ( )",                  // value outside any block
        "H\nTr_Env ( ( 1 ) )",                  // block without a name
    };
    for (const char* text : broken) EXPECT_FALSE(ParseText(text).document) << text;
}

}  // namespace
