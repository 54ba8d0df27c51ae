#pragma once
// Colour codes as the windows' designs give them: 0x00BBGGRR for a plain RGB colour, or the top bit
// set for a system colour whose low byte is the Windows system colour index.
#include <cstdint>
#include <functional>

namespace widgets {

using ColorCode = std::uint32_t;

namespace colors {

inline constexpr ColorCode black = 0x000000;
inline constexpr ColorCode maroon = 0x000080;
inline constexpr ColorCode green = 0x008000;
inline constexpr ColorCode olive = 0x008080;
inline constexpr ColorCode navy = 0x800000;
inline constexpr ColorCode purple = 0x800080;
inline constexpr ColorCode teal = 0x808000;
inline constexpr ColorCode gray = 0x808080;
inline constexpr ColorCode silver = 0xC0C0C0;
inline constexpr ColorCode red = 0x0000FF;
inline constexpr ColorCode lime = 0x00FF00;
inline constexpr ColorCode yellow = 0x00FFFF;
inline constexpr ColorCode blue = 0xFF0000;
inline constexpr ColorCode fuchsia = 0xFF00FF;
inline constexpr ColorCode aqua = 0xFFFF00;
inline constexpr ColorCode white = 0xFFFFFF;

inline constexpr ColorCode window = 0x80000005;
inline constexpr ColorCode windowFrame = 0x80000006;
inline constexpr ColorCode windowText = 0x80000008;
inline constexpr ColorCode buttonFace = 0x8000000F;
inline constexpr ColorCode buttonShadow = 0x80000010;
inline constexpr ColorCode buttonText = 0x80000012;
inline constexpr ColorCode buttonHighlight = 0x80000014;

}  // namespace colors

constexpr bool IsSystemColor(ColorCode c) {
    return (c & 0x80000000u) != 0;
}
constexpr std::uint8_t RedOf(ColorCode c) {
    return c & 0xFF;
}
constexpr std::uint8_t GreenOf(ColorCode c) {
    return (c >> 8) & 0xFF;
}
constexpr std::uint8_t BlueOf(ColorCode c) {
    return (c >> 16) & 0xFF;
}
constexpr ColorCode ColorFromRgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return ColorCode(r) | (ColorCode(g) << 8) | (ColorCode(b) << 16);
}

// The current RGB value of a colour: plain values unchanged (top byte dropped), system colours
// through the installed resolver (default: the classic Windows scheme).
ColorCode ResolvedRgb(ColorCode c);

// Resolves a system colour index (0..30) to RGB. The Qt layer installs one reading the palette.
using SystemColorResolver = std::function<ColorCode(int index)>;
SystemColorResolver SetSystemColorResolver(SystemColorResolver resolver);

}  // namespace widgets
