#pragma once
// RGB <-> HLS conversion in the -1..+1 cube, and the lighter and darker shade of a colour that the
// link label uses for its bevels. Plain C++: it also builds for Windows without Qt.
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "core/colour/color_code.h"

namespace widgets {

// Three channels in 0..1: (red, green, blue) or (hue, luminance, saturation).
using ColorTriple = std::array<double, 3>;

// The only error of the conversions: an input component outside 0..1 or not a number.
class ColorConversionError : public std::runtime_error {
  public:
    explicit ColorConversionError(const std::string& message) : std::runtime_error(message) {}
};

// Hue 0 and 1 are both red. Raises ColorConversionError before writing `rgb`.
void HlsToRgb(const ColorTriple& hls, ColorTriple& rgb);
// Pure red reports hue 1, greys hue 0. Raises ColorConversionError before writing `hls`.
void RgbToHls(const ColorTriple& rgb, ColorTriple& hls);

// Lighter: each channel byte c becomes 255 - r modulo 256, r being (256 - c) * lightenFactor
// rounded half to even (a factor of 0 gives white).
// Darker: the luminance times darkenFactor (0 gives black). Both come back as plain RGB values.
// The lighter shade is written before the darker one is computed, so it is set even when the
// darken factor pushes the luminance out of range and ColorConversionError escapes.
void ShadeColors(ColorCode color, ColorCode& lighter, ColorCode& darker, float lightenFactor,
                 float darkenFactor);
// Factors given in tenths: (10 - steps) * 0.1 each, as 32-bit floats.
void ShadeColorsBySteps(ColorCode color, ColorCode& lighter, ColorCode& darker,
                        std::int32_t lightenSteps, std::int32_t darkenSteps);

}  // namespace widgets
