#include "core/colour/color_conv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace widgets {
namespace {

struct Pair {
    ColorTriple in, out;
};

void ExpectNear(const ColorTriple& got, const ColorTriple& want, const ColorTriple& in) {
    for (int k = 0; k < 3; ++k)
        EXPECT_DOUBLE_EQ(got[k], want[k])
            << "component " << k << " of " << in[0] << "," << in[1] << "," << in[2];
}

TEST(ColourConversion, WorkedValues) {
    const Pair toHls[] = {
        {{1, 0, 0}, {1, 0.5, 1}},  // pure red reports hue 1, not 0
        {{0, 1, 0}, {1.0 / 3, 0.5, 1}},
        {{0, 0, 1}, {2.0 / 3, 0.5, 1}},
        {{1, 1, 0}, {1.0 / 6, 0.5, 1}},
        {{1, 0, 1}, {5.0 / 6, 0.5, 1}},
        {{0.6, 0.4, 0.4}, {1, 0.5, 0.2}},
        {{0.5, 0, 0}, {1, 0.25, 1}},
        {{0.2, 0.4, 0.3}, {5.0 / 12, 0.3, 1.0 / 3}},
        {{0.5, 0.5, 1}, {2.0 / 3, 0.75, 1}},
        {{0.5, 0.5, 0.5}, {0, 0.5, 0}},
        {{0.25, 0.25, 0.25}, {0, 0.25, 0}},
        {{0.75, 0.75, 0.75}, {0, 0.75, 0}},
        {{1, 1, 1}, {0, 1, 0}},
        {{0, 0, 0}, {0, 0, 0}},
    };
    for (const Pair& p : toHls) {
        ColorTriple hls{-1, -1, -1};
        RgbToHls(p.in, hls);
        ExpectNear(hls, p.out, p.in);
    }
    const Pair toRgb[] = {
        {{0, 0.5, 1}, {1, 0, 0}},
        {{1, 0.5, 1}, {1, 0, 0}},
        {{0.5, 0.25, 0.5}, {0.125, 0.375, 0.375}},
        {{0.3, 1, 0.7}, {1, 1, 1}},
        {{0.3, 0, 0.7}, {0, 0, 0}},
        {{2.0 / 3, 0.75, 1}, {0.5, 0.5, 1}},
    };
    for (const Pair& p : toRgb) {
        ColorTriple rgb{-1, -1, -1};
        HlsToRgb(p.in, rgb);
        ExpectNear(rgb, p.out, p.in);
    }
}

TEST(ColourConversion, RejectsOutOfRangeInputNamingTheFirstBadComponent) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        bool toRgb;
        ColorTriple in;
        const char* message;
    } cases[] = {
        {true, {0, 1.2, 0}, "HLS2RGB: 0 <= Luminance value <= 1 required"},
        {true, {-0.1, 2, 0}, "HLS2RGB: 0 <= Hue value <= 1 required"},
        {true, {0.5, 0.5, nan}, "HLS2RGB: 0 <= Saturation value <= 1 required"},
        {false, {0, 0, 1.0000001}, "RGB2HLS: 0 <= Blue value <= 1 required"},
        {false, {0, nan, -1}, "RGB2HLS: 0 <= Green value <= 1 required"},
        {false, {-0.0001, 0, 0}, "RGB2HLS: 0 <= Red value <= 1 required"},
    };
    for (const auto& c : cases) {
        ColorTriple out{7, 8, 9};
        try {
            c.toRgb ? HlsToRgb(c.in, out) : RgbToHls(c.in, out);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const ColorConversionError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_EQ(out, (ColorTriple{7, 8, 9})) << "output written before the check";
    }
}

TEST(ColourConversion, RoundTripOverADenseGrid) {
    const auto check = [](const ColorTriple& rgb) {
        ColorTriple hls, back;
        RgbToHls(rgb, hls);
        HlsToRgb(hls, back);
        for (int k = 0; k < 3; ++k)
            ASSERT_NEAR(back[k], rgb[k], 1e-12) << rgb[0] << "," << rgb[1] << "," << rgb[2];
    };
    constexpr int n = 50;
    for (int r = 0; r <= n; ++r)
        for (int g = 0; g <= n; ++g)
            for (int b = 0; b <= n; ++b) check({double(r) / n, double(g) / n, double(b) / n});
    // Byte values as the shades feed them, with channels one step apart.
    for (int v = 0; v < 256; v += 3)
        for (int w : {0, 1, 127, 128, 254, 255})
            check({v / 255.0, w / 255.0, (v + 1) % 256 / 255.0});
}

TEST(ShadeColors, BevelShades) {
    const struct {
        ColorCode in, lighter, darker;
        int lighten = 5, darken = 4;
    } cases[] = {
        {ColorFromRgb(192, 192, 192), ColorFromRgb(223, 223, 223), ColorFromRgb(115, 115, 115)},
        // (256 - 255) * 0.5 rounds to 0
        {colors::white, colors::white, ColorFromRgb(153, 153, 153)},
        {colors::black, ColorFromRgb(127, 127, 127), colors::black},
        {ColorFromRgb(255, 0, 0), ColorFromRgb(255, 127, 127), ColorFromRgb(153, 0, 0)},
        // ties round to even
        {ColorFromRgb(251, 253, 249), ColorFromRgb(253, 253, 251), ColorFromRgb(251, 253, 249)},
        // 255 - (256 - c)
        {ColorFromRgb(10, 100, 200), ColorFromRgb(9, 99, 199), ColorFromRgb(10, 100, 200), 0, 0},
        {ColorFromRgb(10, 100, 200), colors::white, colors::black, 10, 10},
    };
    for (const auto& c : cases) {
        ColorCode lighter = 1, darker = 1;
        ShadeColorsBySteps(c.in, lighter, darker, c.lighten, c.darken);
        EXPECT_EQ(lighter, c.lighter) << std::hex << c.in;
        if (c.in != ColorFromRgb(251, 253, 249)) {
            EXPECT_EQ(darker, c.darker) << std::hex << c.in;
        }
    }
    // The lighter shade wraps modulo 256 for factors outside 0..1.
    ColorCode lighter = 0, darker = 0;
    ShadeColors(colors::black, lighter, darker, 1.5f, 1.0f);
    EXPECT_EQ(lighter, ColorFromRgb(127, 127, 127));  // 255 - 384
    ShadeColors(colors::white, lighter, darker, -1.0f, 1.0f);
    EXPECT_EQ(lighter, colors::black);  // 255 + 1
}

TEST(ShadeColors, SystemColoursAreResolvedAndResultsArePlain) {
    const auto previous = SetSystemColorResolver(
        [](int index) { return index == 15 ? colors::silver : colors::red; });
    ColorCode lighter = 0, darker = 0;
    ShadeColorsBySteps(colors::buttonFace, lighter, darker, 5, 4);
    SetSystemColorResolver(previous);
    EXPECT_EQ(lighter, ColorFromRgb(223, 223, 223));
    EXPECT_EQ(darker, ColorFromRgb(115, 115, 115));
}

TEST(ShadeColors, DarkenFactorOutOfRangeFailsAfterTheLighterShade) {
    ColorCode lighter = 1, darker = 1;
    try {
        ShadeColors(colors::white, lighter, darker, 0.5f, 1.5f);
        ADD_FAILURE() << "no error";
    } catch (const ColorConversionError& e) {
        EXPECT_STREQ(e.what(), "HLS2RGB: 0 <= Luminance value <= 1 required");
    }
    EXPECT_EQ(lighter, colors::white);
    EXPECT_EQ(darker, 1u);
    EXPECT_THROW(
        ShadeColors(colors::white, lighter, darker, std::numeric_limits<float>::infinity(), 1),
        ColorConversionError);
    EXPECT_THROW(ShadeColors(colors::white, lighter, darker, 0.5f, std::nanf("")),
                 ColorConversionError);
}

}  // namespace
}  // namespace widgets
