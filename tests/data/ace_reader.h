#pragma once
// A reader of the uncompressed form of the simulator's texture format, in the two channel layouts
// real textures use: 8-bit red, green, blue (opaque), or those plus a 1-bit mask and an 8-bit
// alpha (partly transparent).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace acecheck {

using Pixel = std::array<std::uint8_t, 4>;  // red, green, blue, alpha (255 when there is none)

struct Level {
    int side = 0;
    std::vector<Pixel> pixels;       // row by row
    std::vector<std::uint8_t> mask;  // 0 or 1 per pixel; empty without a mask channel
    const Pixel& at(int x, int y) const { return pixels[static_cast<size_t>(y) * side + x]; }
};

struct Texture {
    std::int32_t version = 0;
    std::int32_t flags = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t surfaceFormat = 0;
    std::uint32_t reserved = 0;  // the field after the channel count
    std::string name;            // 16 bytes, NUL-padded
    std::string creator;         // 64 bytes, NUL-padded
    std::vector<std::uint64_t> channelIds;
    bool hasAlpha = false;
    std::vector<Level> levels;  // the full image first, then each mip level
};

struct ReadResult {
    std::optional<Texture> texture;
    std::string error;
};

inline constexpr std::string_view kSignature = "SIMISA@@@@@@@@@@";
inline constexpr std::int32_t kFlagMipmaps = 0x01;
inline constexpr std::int32_t kFlagRawData = 0x10;  // compressed surfaces in place of scanlines
inline constexpr std::int32_t kSurfaceOpaque = 0x0E, kSurfaceAlpha = 0x11;
inline constexpr std::uint64_t kMask = 2, kRed = 3, kGreen = 4, kBlue = 5, kAlpha = 6;

// Checks the signature, the square power-of-two size, one of the two channel layouts with its
// surface format, and that every scanline offset (counted, as the simulators count it, from just
// after the 16-byte signature) points at the next row with no gap or overlap. Bytes after the
// last row are allowed: real textures carry some.
ReadResult ReadTexture(std::string_view bytes);

}  // namespace acecheck
