#pragma once
// A reader of the uncompressed form of the simulator's texture format, for 8-bit channels.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace acecheck {

using Pixel = std::array<std::uint8_t, 3>;  // red, green, blue

struct Level {
    int side = 0;
    std::vector<Pixel> pixels;  // row by row
    const Pixel& at(int x, int y) const { return pixels[static_cast<size_t>(y) * side + x]; }
};

struct Texture {
    std::int32_t version = 0;
    std::int32_t flags = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t surfaceFormat = 0;
    std::vector<std::uint64_t> channelIds;
    std::vector<Level> levels;  // the full image first, then each mip level
};

struct ReadResult {
    std::optional<Texture> texture;
    std::string error;
};

inline constexpr std::string_view kSignature = "SIMISA@@@@@@@@@@";
inline constexpr std::int32_t kFlagMipmaps = 0x01;
inline constexpr std::int32_t kFlagRawData = 0x10;  // compressed surfaces in place of scanlines
inline constexpr std::uint64_t kRed = 3, kGreen = 4, kBlue = 5;

// Checks the signature, the square power-of-two size, the 8-bit red/green/blue channels, that
// every scanline offset (counted, as the simulators count it, from just after the 16-byte
// signature) points at the next row with no gap or overlap, and that the file ends exactly after
// the last row.
ReadResult ReadTexture(std::string_view bytes);

}  // namespace acecheck
