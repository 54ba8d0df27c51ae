// The sky textures are read by the simulator, not by us: the header, the row table and every mip
// level must be exactly right, the low cloud layers partly see-through, and the pictures must look
// like an overcast sky.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "data/ace_reader.h"
#include "support/fixtures.h"

namespace {

namespace fs = std::filesystem;
using acecheck::Level;
using acecheck::ReadTexture;
using acecheck::Texture;

Texture Load(const std::string& name) {
    auto path = testsupport::SourceDir() / "data" / "Dump" / "Textures" / name;
    auto result = ReadTexture(testsupport::ReadFile(path));
    EXPECT_TRUE(result.texture) << name << ": " << result.error;
    return result.texture.value_or(Texture{});
}

double Luminance(const acecheck::Pixel& p) {
    return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
}

double MeanLuminance(const Level& level) {
    double sum = 0;
    for (const auto& p : level.pixels) sum += Luminance(p);
    return level.pixels.empty() ? 0 : sum / static_cast<double>(level.pixels.size());
}

struct Sky {
    std::string name;
    int side;
    bool low;  // a low cloud layer, drawn blended over the sky: carries alpha
};
void PrintTo(const Sky& s, std::ostream* os) {
    *os << s.name;
}

class ShippedSky : public testing::TestWithParam<Sky> {};

// As real textures have it: version 1, mipmaps, the reserved field 0, our name in the creator
// text, opaque colour for the main layer and colour with mask and alpha for the low layer.
TEST_P(ShippedSky, HeaderSizeAndFullMipChain) {
    Texture t = Load(GetParam().name);
    ASSERT_FALSE(t.levels.empty());
    EXPECT_EQ(t.version, 1);
    EXPECT_EQ(t.flags, acecheck::kFlagMipmaps);
    EXPECT_EQ(t.reserved, 0u);
    EXPECT_EQ(t.creator, "ZEL Nevora sky generator");
    EXPECT_EQ(t.hasAlpha, GetParam().low);
    EXPECT_EQ(t.surfaceFormat, GetParam().low ? acecheck::kSurfaceAlpha : acecheck::kSurfaceOpaque);
    EXPECT_EQ(t.width, GetParam().side);
    ASSERT_EQ(t.levels.size(), size_t(std::log2(GetParam().side)) + 1);
    for (size_t i = 0; i < t.levels.size(); ++i) EXPECT_EQ(t.levels[i].side, t.width >> i);
}

// Each smaller level is the mean of the one above, so the sky does not change as it recedes.
TEST_P(ShippedSky, MipLevelsAverageTheLevelAbove) {
    Texture t = Load(GetParam().name);
    for (size_t i = 1; i < t.levels.size(); ++i) {
        const Level &big = t.levels[i - 1], &small = t.levels[i];
        for (int y = 0; y < small.side; ++y) {
            for (int x = 0; x < small.side; ++x) {
                for (int c = 0; c < 4; ++c) {
                    int sum = big.at(2 * x, 2 * y)[c] + big.at(2 * x + 1, 2 * y)[c] +
                              big.at(2 * x, 2 * y + 1)[c] + big.at(2 * x + 1, 2 * y + 1)[c];
                    ASSERT_NEAR(small.at(x, y)[c], sum / 4.0, 1.0)
                        << "level " << i << " at " << x << "," << y;
                }
            }
        }
    }
}

// Grey clouds with visible detail; a low layer fades from clear gaps to dense cloud, its mask
// bit set where the cloud is more than half opaque.
TEST_P(ShippedSky, IsAnOvercastGreyWithClouds) {
    Texture t = Load(GetParam().name);
    ASSERT_FALSE(t.levels.empty());
    const Level& full = t.levels[0];
    double mean = MeanLuminance(full), variance = 0;
    int clear = 0, dense = 0;
    for (size_t i = 0; i < full.pixels.size(); ++i) {
        const auto& p = full.pixels[i];
        ASSERT_LE(std::abs(p[0] - p[1]), 8) << "not grey";
        ASSERT_LE(std::abs(p[1] - p[2]), 8) << "not grey";
        variance += std::pow(Luminance(p) - mean, 2);
        clear += p[3] < 64;
        dense += p[3] > 192;
        if (t.hasAlpha) {
            ASSERT_EQ(full.mask[i], p[3] >= 128 ? 1 : 0) << "mask at " << i;
        }
    }
    double spread = std::sqrt(variance / static_cast<double>(full.pixels.size()));
    EXPECT_GT(spread, 8.0) << "a flat colour, no clouds";
    EXPECT_LT(spread, 40.0) << "too patchy for an overcast sky";
    if (GetParam().low) {
        EXPECT_GT(clear, int(full.pixels.size() / 20)) << "no gaps in the low clouds";
        EXPECT_GT(dense, int(full.pixels.size() / 5)) << "low clouds too thin";
    }
}

INSTANTIATE_TEST_SUITE_P(All, ShippedSky,
                         testing::Values(Sky{"ZEL_rainsky.ace", 256, false},
                                         Sky{"ZEL_rainskylo.ace", 256, true},
                                         Sky{"ZEL_snowsky.ace", 256, false},
                                         Sky{"ZEL_snowskylo.ace", 256, true}),
                         [](const testing::TestParamInfo<Sky>& info) {
                             return info.param.name.substr(4, info.param.name.size() - 8);
                         });

// Snow runs install the ZEL_rainsky pair and rain runs the ZEL_snowsky pair: the sky seen in snow
// is the light one.
TEST(ShippedSkies, SnowSkyLighterThanRainSky) {
    for (const char* suffix : {"sky.ace", "skylo.ace"}) {
        Texture seenInSnow = Load(std::string("ZEL_rain") + suffix);
        Texture seenInRain = Load(std::string("ZEL_snow") + suffix);
        ASSERT_FALSE(seenInSnow.levels.empty() || seenInRain.levels.empty());
        EXPECT_GT(MeanLuminance(seenInSnow.levels[0]), 170) << suffix;
        EXPECT_LT(MeanLuminance(seenInRain.levels[0]), 150) << suffix;
    }
}

// A valid 2 x 2 texture with its 1 x 1 mip, in the layout with mask and alpha, to see that the
// reader catches each kind of damage. Scanline offsets count from just after the signature;
// `offsetBase` 0 gives the mistaken layout that counts them from the start of the file.
std::string TinyTexture(std::int32_t offsetBase = std::int32_t(acecheck::kSignature.size())) {
    std::string b(acecheck::kSignature);
    auto put32 = [&](std::int32_t v) { b.append(reinterpret_cast<const char*>(&v), 4); };
    auto put64 = [&](std::uint64_t v) { b.append(reinterpret_cast<const char*>(&v), 8); };
    for (std::int32_t v : {1, 1, 2, 2, acecheck::kSurfaceAlpha, 5, 0}) put32(v);
    b.append(std::string("tiny").append(12, '\0'));
    b.append(std::string("test").append(60, '\0'));
    b.append(44, '\0');
    for (std::uint64_t id :
         {acecheck::kRed, acecheck::kGreen, acecheck::kBlue, acecheck::kMask, acecheck::kAlpha}) {
        put64(id == acecheck::kMask ? 1 : 8);
        put64(id);
    }
    std::int32_t first = std::int32_t(b.size()) + 3 * 4 - offsetBase;
    for (std::int32_t offset : {first, first + 9, first + 18}) put32(offset);
    // Per row: reds, greens, blues, one mask byte (high bit first), alphas.
    b += std::string("\x10\x20\x30\x40\x50\x60\x80\xFF\x00", 9);
    b += std::string("\x11\x21\x31\x41\x51\x61\x40\x20\x90", 9);
    b += std::string("\x30\x40\x50\x80\x80", 5);
    return b;
}

TEST(TextureReader, ReadsChannelsInRowOrder) {
    auto result = ReadTexture(TinyTexture());
    ASSERT_TRUE(result.texture) << result.error;
    const Texture& t = *result.texture;
    EXPECT_EQ(t.name, "tiny");
    EXPECT_EQ(t.creator, "test");
    ASSERT_EQ(t.levels.size(), 2u);
    EXPECT_EQ(t.levels[0].at(1, 0), (acecheck::Pixel{0x20, 0x40, 0x60, 0x00}));
    EXPECT_EQ(t.levels[0].at(0, 1), (acecheck::Pixel{0x11, 0x31, 0x51, 0x20}));
    EXPECT_EQ(t.levels[0].mask, (std::vector<std::uint8_t>{1, 0, 0, 1}));
    EXPECT_EQ(t.levels[1].at(0, 0), (acecheck::Pixel{0x30, 0x40, 0x50, 0x80}));
}

TEST(TextureReader, RejectsDamagedFiles) {
    const std::string good = TinyTexture();
    auto damaged = [&](size_t at, char value) {
        std::string b = good;
        b[at] = value;
        return b;
    };
    const size_t channels = 16 + 24 + 128, rowTable = channels + size_t{5} * 16;
    const std::pair<std::string, const char*> cases[] = {
        {damaged(5, 'X'), "signature"},
        {good.substr(0, 100), "header cut short"},
        {damaged(24, 3), "width not a power of two"},
        {damaged(channels, 16), "16-bit channel"},
        {damaged(channels + 8, 6), "alpha in place of red"},
        {damaged(32, acecheck::kSurfaceOpaque), "opaque surface format with alpha"},
        {damaged(36, 4), "four channels"},
        {damaged(rowTable + 4, static_cast<char>(good[rowTable + 4] + 1)), "row offset off by one"},
        {TinyTexture(0), "offsets counted from the start of the file"},
        {damaged(20, 0x11), "raw surface flag"},
        {good.substr(0, good.size() - 1), "last row cut short"},
    };
    for (const auto& [bytes, what] : cases) EXPECT_FALSE(ReadTexture(bytes).texture) << what;
    // Real textures carry bytes after the last row; readers leave them alone.
    EXPECT_TRUE(ReadTexture(good + '\0').texture) << "trailing byte";
}

}  // namespace
