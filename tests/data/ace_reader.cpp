#include "data/ace_reader.h"

#include <cstring>

namespace acecheck {
namespace {

constexpr size_t kCreatorSize = 128;

class Cursor {
public:
    explicit Cursor(std::string_view bytes) : bytes_(bytes) {}
    template <typename T>
    bool Read(T& value) {
        if (pos_ + sizeof(T) > bytes_.size()) return false;
        std::memcpy(&value, bytes_.data() + pos_, sizeof(T));  // the file and the host are LE
        pos_ += sizeof(T);
        return true;
    }
    bool Skip(size_t n) {
        if (pos_ + n > bytes_.size()) return false;
        pos_ += n;
        return true;
    }
    size_t pos() const { return pos_; }

private:
    std::string_view bytes_;
    size_t pos_ = 0;
};

bool IsPowerOfTwo(std::int32_t n) { return n > 0 && (n & (n - 1)) == 0; }

}  // namespace

ReadResult ReadTexture(std::string_view bytes) {
    auto fail = [](std::string message) { return ReadResult{std::nullopt, std::move(message)}; };
    if (bytes.substr(0, kSignature.size()) != kSignature) return fail("not an uncompressed texture");
    Cursor in(bytes);
    in.Skip(kSignature.size());

    Texture t;
    std::int32_t channelCount = 0;
    if (!in.Read(t.version) || !in.Read(t.flags) || !in.Read(t.width) || !in.Read(t.height) ||
        !in.Read(t.surfaceFormat) || !in.Read(channelCount) || !in.Skip(kCreatorSize)) {
        return fail("header cut short");
    }
    if (!IsPowerOfTwo(t.width) || t.width != t.height) return fail("not a square power of two");
    if (t.flags & kFlagRawData) return fail("raw surface data, not scanlines");
    if (channelCount != 3) return fail("expected three channels");
    for (int c = 0; c < channelCount; ++c) {
        std::uint64_t bits = 0, id = 0;
        if (!in.Read(bits) || !in.Read(id)) return fail("channel table cut short");
        if (bits != 8) return fail("channel is not 8-bit");
        t.channelIds.push_back(id);
    }
    if (t.channelIds != std::vector<std::uint64_t>{kRed, kGreen, kBlue})
        return fail("channels are not red, green, blue");

    std::vector<int> sides{t.width};
    if (t.flags & kFlagMipmaps)
        while (sides.back() > 1) sides.push_back(sides.back() / 2);

    std::vector<std::uint32_t> offsets;
    for (int side : sides) {
        for (int row = 0; row < side; ++row) {
            std::uint32_t offset = 0;
            if (!in.Read(offset)) return fail("row table cut short");
            offsets.push_back(offset);
        }
    }

    size_t expected = in.pos();
    size_t rowIndex = 0;
    for (int side : sides) {
        Level level;
        level.side = side;
        level.pixels.resize(static_cast<size_t>(side) * side);
        for (int y = 0; y < side; ++y, ++rowIndex) {
            if (offsets[rowIndex] + kSignature.size() != expected)
                return fail("row offset " + std::to_string(rowIndex) + " is wrong");
            size_t rowBytes = 3 * static_cast<size_t>(side);
            if (expected + rowBytes > bytes.size()) return fail("pixel data cut short");
            for (int x = 0; x < side; ++x) {
                for (int c = 0; c < 3; ++c) {
                    level.pixels[static_cast<size_t>(y) * side + x][c] =
                        static_cast<std::uint8_t>(bytes[expected + c * side + x]);
                }
            }
            expected += rowBytes;
        }
        t.levels.push_back(std::move(level));
    }
    if (expected != bytes.size()) return fail("bytes after the last row");
    return ReadResult{std::move(t), {}};
}

}  // namespace acecheck
