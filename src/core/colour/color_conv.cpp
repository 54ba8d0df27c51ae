#include "core/colour/color_conv.h"

#include <cmath>

namespace widgets {
namespace {

constexpr double kEpsilon = 1e-8;

// The pure hue points at hue sixths 0..5 (red, yellow, green, cyan, blue, magenta).
constexpr int kCorners[6][3] = {
    {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1},
};

constexpr int R = 0, G = 1, B = 2;

// The channel pairs the solver tries, first usable pair wins.
constexpr int kPairs[3][2] = {{R, G}, {G, B}, {R, B}};

// Round to nearest, ties to even, whatever the floating-point rounding mode is.
double RoundHalfEven(double x) {
    const double floor = std::floor(x);
    const double diff = x - floor;
    if (diff < 0.5) return floor;
    if (diff > 0.5) return floor + 1.0;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

double Clamp01(double v) {
    return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}

// NaN fails too, since every comparison with it is false.
void CheckRange(const ColorTriple& t, const char* function, const char* const names[3]) {
    for (int k = 0; k < 3; ++k) {
        if (!(t[k] >= 0.0 && t[k] <= 1.0))
            throw ColorConversionError(std::string(function) + ": 0 <= " + names[k] +
                                       " value <= 1 required");
    }
}

std::uint8_t ByteOf(double channel) {
    return std::uint8_t(RoundHalfEven(channel * 255.0));
}

}  // namespace

void HlsToRgb(const ColorTriple& hls, ColorTriple& rgb) {
    static const char* const names[3] = {"Hue", "Luminance", "Saturation"};
    CheckRange(hls, "HLS2RGB", names);
    const double hue = hls[0], lum = hls[1], sat = hls[2];

    const double h6 = hue * 6.0;
    const double whole = std::trunc(h6);
    const int i0 = int(whole) % 6;
    const int i1 = (i0 + 1) % 6;
    const double f = h6 - whole;

    ColorTriple out;
    for (int k = 0; k < 3; ++k) {
        double p = kCorners[i0][k] + f * (kCorners[i1][k] - kCorners[i0][k]);
        p *= sat;
        p = lum > 0.5 ? p * (1.0 - lum) + lum : (p + 1.0) * lum;
        out[k] = Clamp01(p);
    }
    rgb = out;
}

void RgbToHls(const ColorTriple& rgb, ColorTriple& hls) {
    static const char* const names[3] = {"Red", "Green", "Blue"};
    CheckRange(rgb, "RGB2HLS", names);

    double c[3];
    for (int k = 0; k < 3; ++k) c[k] = 2.0 * rgb[k] - 1.0;

    // The channel farthest from the cube's centre; the first one wins a tie.
    double big = 0.0;
    int j = R;
    for (int k = 0; k < 3; ++k) {
        if (std::fabs(c[k]) > big) {
            big = std::fabs(c[k]);
            j = k;
        }
    }
    if (big < kEpsilon) {
        hls = {0.0, 0.5, 0.0};
        return;
    }

    double n[3];
    for (int k = 0; k < 3; ++k) n[k] = c[k] * (1.0 / big);

    // Stretch n so that its smallest channel is -1 and its largest +1: the pure hue point on the
    // line from white (light side) or black (dark side) through the colour.
    const bool light = n[j] > 0.0;
    int smallest = j;
    double m = 0.0;
    for (const double channel : n) {
        const double d = light ? 1.0 - channel : channel + 1.0;
        if (d > m) m = d;
    }
    if (m < kEpsilon) {
        // A grey: all channels sit together on the line, no hue can be read.
        hls = {0.0, rgb[0], 0.0};
        return;
    }
    if (light) {
        for (double& v : n) v = (v - 1.0) * (2.0 / m) + 1.0;
        double low = 1.0;
        for (int k = 0; k < 3; ++k) {
            if (n[k] < low) {
                low = n[k];
                smallest = k;
            }
        }
    } else {
        for (double& v : n) v = (v + 1.0) * (2.0 / m) - 1.0;
    }

    double h6;
    switch (smallest) {
        case R:
            h6 = n[G] > n[B] ? 2.0 + (n[B] + 1.0) / 2.0 : 4.0 - (n[G] + 1.0) / 2.0;
            break;
        case G:
            h6 = n[B] > n[R] ? 4.0 + (n[R] + 1.0) / 2.0 : 6.0 - (n[B] + 1.0) / 2.0;
            break;
        default:
            h6 = n[R] > n[G] ? (n[G] + 1.0) / 2.0 : 2.0 - (n[R] + 1.0) / 2.0;
            break;
    }
    const double hue = h6 * (1.0 / 6.0);

    // c = lambda * n + mu * (1, 1, 1), solved from the first pair of channels that tells apart.
    double sat = 0.0;
    for (const auto& pair : kPairs) {
        const int a = pair[0], b = pair[1];
        if (std::fabs(c[b] - c[a]) > kEpsilon) {
            sat = light ? (c[b] - c[a]) / ((c[b] - 1.0) * n[a] - (c[a] - 1.0) * n[b])
                        : (c[b] - c[a]) / ((c[a] + 1.0) * n[b] - (c[b] + 1.0) * n[a]);
            break;
        }
    }
    double lum = 0.0;
    for (const auto& pair : kPairs) {
        const int a = pair[0], b = pair[1];
        if (std::fabs(n[b] - n[a]) > kEpsilon) {
            lum = light ? ((c[a] - 1.0) * n[b] - (c[b] - 1.0) * n[a]) / (n[b] - n[a]) * 0.5 + 1.0
                        : ((c[a] + 1.0) * n[b] - (c[b] + 1.0) * n[a]) / (n[b] - n[a]) * 0.5;
            break;
        }
    }

    hls = {Clamp01(hue), Clamp01(lum), Clamp01(sat)};
}

void ShadeColors(ColorCode color, ColorCode& lighter, ColorCode& darker, float lightenFactor,
                 float darkenFactor) {
    // An infinite or NaN factor has no byte value; refuse it instead of converting garbage.
    if (!std::isfinite(lightenFactor))
        throw ColorConversionError("ShadeColors: finite lighten factor required");

    const ColorCode rgb = ResolvedRgb(color);
    const std::uint8_t bytes[3] = {RedOf(rgb), GreenOf(rgb), BlueOf(rgb)};

    std::uint8_t light[3];
    for (int k = 0; k < 3; ++k) {
        const double v = 255.0 - RoundHalfEven((256.0 - bytes[k]) * double(lightenFactor));
        double wrapped = std::fmod(v, 256.0);  // exact: v is a whole number
        if (wrapped < 0.0) wrapped += 256.0;
        light[k] = std::uint8_t(wrapped);
    }
    lighter = ColorFromRgb(light[0], light[1], light[2]);

    ColorTriple hls;
    RgbToHls({bytes[0] * (1.0 / 255.0), bytes[1] * (1.0 / 255.0), bytes[2] * (1.0 / 255.0)}, hls);
    hls[1] *= double(darkenFactor);
    ColorTriple dark;
    HlsToRgb(hls, dark);
    darker = ColorFromRgb(ByteOf(dark[0]), ByteOf(dark[1]), ByteOf(dark[2]));
}

void ShadeColorsBySteps(ColorCode color, ColorCode& lighter, ColorCode& darker,
                        std::int32_t lightenSteps, std::int32_t darkenSteps) {
    const float lighten = float((10.0 - lightenSteps) * 0.1);
    const float darken = float((10.0 - darkenSteps) * 0.1);
    ShadeColors(color, lighter, darker, lighten, darken);
}

}  // namespace widgets
