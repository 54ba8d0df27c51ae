#include "widgets/colorconv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace widgets {
namespace {

ColorTriple ToHls(ColorTriple rgb) {
    ColorTriple hls{-1, -1, -1};
    RGB2HLS(rgb, hls);
    return hls;
}

ColorTriple ToRgb(ColorTriple hls) {
    ColorTriple rgb{-1, -1, -1};
    HLS2RGB(hls, rgb);
    return rgb;
}

#define EXPECT_TRIPLE(actual, e0, e1, e2)    \
    do {                                     \
        const ColorTriple t_ = (actual);     \
        EXPECT_DOUBLE_EQ(t_[0], (e0));       \
        EXPECT_DOUBLE_EQ(t_[1], (e1));       \
        EXPECT_DOUBLE_EQ(t_[2], (e2));       \
    } while (0)

TEST(RGB2HLS, PureHuesAndRedReportedAsOne) {
    EXPECT_EQ(ToHls({1, 0, 0}), (ColorTriple{1.0, 0.5, 1.0}));
    EXPECT_EQ(ToHls({0, 1, 0}), (ColorTriple{1.0 / 3, 0.5, 1.0}));
    EXPECT_EQ(ToHls({0, 0, 1}), (ColorTriple{2.0 / 3, 0.5, 1.0}));
    EXPECT_EQ(ToHls({1, 1, 0}), (ColorTriple{1.0 / 6, 0.5, 1.0}));
    EXPECT_TRIPLE(ToHls({0, 1, 1}), 0.5, 0.5, 1.0);
    EXPECT_TRIPLE(ToHls({1, 0, 1}), 5.0 / 6, 0.5, 1.0);
    EXPECT_TRIPLE(ToHls({0.6, 0.4, 0.4}), 1.0, 0.5, 0.2);
}

TEST(RGB2HLS, GreysHaveHueZeroAndTheirOwnLuminance) {
    EXPECT_EQ(ToHls({0.5, 0.5, 0.5}), (ColorTriple{0, 0.5, 0}));
    EXPECT_EQ(ToHls({0.25, 0.25, 0.25}), (ColorTriple{0, 0.25, 0}));
    EXPECT_EQ(ToHls({0.75, 0.75, 0.75}), (ColorTriple{0, 0.75, 0}));
    EXPECT_EQ(ToHls({1, 1, 1}), (ColorTriple{0, 1, 0}));
    EXPECT_EQ(ToHls({0, 0, 0}), (ColorTriple{0, 0, 0}));
}

TEST(RGB2HLS, DarkAndLightTints) {
    // Dark red at half strength, and a pale blue: the usual HLS model's values.
    EXPECT_TRIPLE(ToHls({0.5, 0, 0}), 1.0, 0.25, 1.0);
    EXPECT_TRIPLE(ToHls({0.5, 0.5, 1.0}), 2.0 / 3, 0.75, 1.0);
    EXPECT_TRIPLE(ToHls({0.2, 0.4, 0.3}), 5.0 / 12, 0.3, 1.0 / 3);
}

TEST(HLS2RGB, HueZeroAndOneAreBothRed) {
    EXPECT_EQ(ToRgb({0, 0.5, 1}), (ColorTriple{1, 0, 0}));
    EXPECT_EQ(ToRgb({1, 0.5, 1}), (ColorTriple{1, 0, 0}));
    EXPECT_EQ(ToRgb({0.5, 0.25, 0.5}), (ColorTriple{0.125, 0.375, 0.375}));
    EXPECT_EQ(ToRgb({0.3, 1, 0.7}), (ColorTriple{1, 1, 1}));
    EXPECT_EQ(ToRgb({0.3, 0, 0.7}), (ColorTriple{0, 0, 0}));
    EXPECT_TRIPLE(ToRgb({2.0 / 3, 0.75, 1.0}), 0.5, 0.5, 1.0);
}

TEST(ColourConversion, RejectsOutOfRangeInputNamingTheFirstBadComponent) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        bool toRgb;
        ColorTriple in;
        const char* message;
    };
    const Case cases[] = {
        {true, {0, 1.2, 0}, "HLS2RGB: 0 <= Luminance value <= 1 required"},
        {true, {-0.1, 2, 0}, "HLS2RGB: 0 <= Hue value <= 1 required"},
        {true, {0.5, 0.5, nan}, "HLS2RGB: 0 <= Saturation value <= 1 required"},
        {false, {0, 0, 1.0000001}, "RGB2HLS: 0 <= Blue value <= 1 required"},
        {false, {0, nan, -1}, "RGB2HLS: 0 <= Green value <= 1 required"},
        {false, {-0.0001, 0, 0}, "RGB2HLS: 0 <= Red value <= 1 required"},
    };
    for (const Case& c : cases) {
        ColorTriple out{7, 8, 9};
        try {
            c.toRgb ? HLS2RGB(c.in, out) : RGB2HLS(c.in, out);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const EColorConv& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_EQ(out, (ColorTriple{7, 8, 9})) << "output written before the check";
    }
}

TEST(ColourConversion, RoundTripOverADenseGrid) {
    constexpr int steps = 50;
    double worst = 0;
    for (int r = 0; r <= steps; ++r)
        for (int g = 0; g <= steps; ++g)
            for (int b = 0; b <= steps; ++b) {
                const ColorTriple rgb{double(r) / steps, double(g) / steps, double(b) / steps};
                const ColorTriple back = ToRgb(ToHls(rgb));
                for (int k = 0; k < 3; ++k) worst = std::max(worst, std::fabs(back[k] - rgb[k]));
                ASSERT_LE(worst, 1e-12) << r << "," << g << "," << b;
            }
    // Byte values as the shade code feeds them, including near-ties of two channels.
    for (int v = 0; v < 256; v += 3)
        for (int w : {0, 1, 127, 128, 254, 255}) {
            const ColorTriple rgb{v / 255.0, w / 255.0, (v + 1) % 256 / 255.0};
            const ColorTriple back = ToRgb(ToHls(rgb));
            for (int k = 0; k < 3; ++k) ASSERT_NEAR(back[k], rgb[k], 1e-12) << v << "," << w;
        }
}

struct Shades {
    TColor lighter;
    TColor darker;
};

Shades BySteps(TColor c, int lighten = 5, int darken = 4) {
    Shades s{0x12345678, 0x12345678};
    ShadeColorsBySteps(c, s.lighter, s.darker, lighten, darken);
    return s;
}

TEST(ShadeColorsBySteps, BevelShadesOfCommonColours) {
    EXPECT_EQ(BySteps(RGB(192, 192, 192)).lighter, RGB(223, 223, 223));
    EXPECT_EQ(BySteps(RGB(192, 192, 192)).darker, RGB(115, 115, 115));
    EXPECT_EQ(BySteps(clWhite).lighter, RGB(255, 255, 255));
    EXPECT_EQ(BySteps(clWhite).darker, RGB(153, 153, 153));
    EXPECT_EQ(BySteps(clBlack).lighter, RGB(127, 127, 127));
    EXPECT_EQ(BySteps(clBlack).darker, RGB(0, 0, 0));
    EXPECT_EQ(BySteps(RGB(255, 0, 0)).lighter, RGB(255, 127, 127));
    EXPECT_EQ(BySteps(RGB(255, 0, 0)).darker, RGB(153, 0, 0));
    // Factor 1 keeps the colour (up to the lighter shade's 256 - c), 10 steps gives the extremes.
    EXPECT_EQ(BySteps(RGB(10, 100, 200), 0, 0).darker, RGB(10, 100, 200));
    EXPECT_EQ(BySteps(RGB(10, 100, 200), 10, 10).lighter, clWhite);
    EXPECT_EQ(BySteps(RGB(10, 100, 200), 10, 10).darker, clBlack);
}

TEST(ShadeColorsBySteps, LighterShadeRoundsTiesToEven) {
    // (256 - 251) * 0.5 = 2.5 -> 2 and (256 - 253) * 0.5 = 1.5 -> 2: both give 253.
    EXPECT_EQ(BySteps(RGB(251, 253, 249)).lighter, RGB(253, 253, 251));
}

TEST(ShadeColors, LighterShadeWrapsModulo256) {
    TColor lighter = 0, darker = 0;
    ShadeColors(clBlack, lighter, darker, 1.5f, 1.0f);  // 255 - 384 = -129 -> 127
    EXPECT_EQ(lighter, RGB(127, 127, 127));
    ShadeColors(clWhite, lighter, darker, -1.0f, 1.0f);  // 255 + 1 = 256 -> 0
    EXPECT_EQ(lighter, RGB(0, 0, 0));
}

TEST(ShadeColors, SystemColoursAreResolvedAndResultsArePlain) {
    const auto previous = SetSystemColorResolver([](int index) {
        return index == 15 ? RGB(192, 192, 192) : RGB(1, 2, 3);
    });
    const Shades s = BySteps(clBtnFace);
    SetSystemColorResolver(previous);
    EXPECT_EQ(s.lighter, RGB(223, 223, 223));
    EXPECT_EQ(s.darker, RGB(115, 115, 115));
}

TEST(ShadeColors, DarkenFactorOutOfRangeFailsAfterTheLighterShade) {
    TColor lighter = 1, darker = 1;
    try {
        ShadeColors(clWhite, lighter, darker, 0.5f, 1.5f);
        ADD_FAILURE() << "no error";
    } catch (const EColorConv& e) {
        EXPECT_STREQ(e.what(), "HLS2RGB: 0 <= Luminance value <= 1 required");
    }
    EXPECT_EQ(lighter, clWhite);
    EXPECT_EQ(darker, 1u);

    EXPECT_THROW(ShadeColors(clWhite, lighter, darker, std::numeric_limits<float>::infinity(), 1),
                 EColorConv);
    EXPECT_THROW(ShadeColors(clWhite, lighter, darker, 0.5f, std::nanf("")), EColorConv);
}

}  // namespace
}  // namespace widgets
