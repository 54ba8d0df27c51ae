#include "data/ace_reader.h"

#include <cstring>

namespace acecheck {
namespace {

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
    bool Text(size_t n, std::string& out) {
        if (pos_ + n > bytes_.size()) return false;
        out = std::string(bytes_.substr(pos_, n));
        out.resize(std::strlen(out.c_str()));
        pos_ += n;
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

bool IsPowerOfTwo(std::int32_t n) {
    return n > 0 && (n & (n - 1)) == 0;
}

struct Channel {
    std::uint64_t bits, id;
};

}  // namespace

ReadResult ReadTexture(std::string_view bytes) {
    auto fail = [](std::string message) { return ReadResult{std::nullopt, std::move(message)}; };
    if (bytes.substr(0, kSignature.size()) != kSignature)
        return fail("not an uncompressed texture");
    Cursor in(bytes);
    in.Skip(kSignature.size());

    Texture t;
    std::int32_t channelCount = 0;
    if (!in.Read(t.version) || !in.Read(t.flags) || !in.Read(t.width) || !in.Read(t.height) ||
        !in.Read(t.surfaceFormat) || !in.Read(channelCount) || !in.Read(t.reserved) ||
        !in.Text(16, t.name) || !in.Text(64, t.creator) || !in.Skip(44)) {
        return fail("header cut short");
    }
    if (!IsPowerOfTwo(t.width) || t.width != t.height) return fail("not a square power of two");
    if (t.flags & kFlagRawData) return fail("raw surface data, not scanlines");
    if (channelCount != 3 && channelCount != 5) return fail("expected three or five channels");
    std::vector<Channel> channels;
    for (int c = 0; c < channelCount; ++c) {
        Channel ch{};
        if (!in.Read(ch.bits) || !in.Read(ch.id)) return fail("channel table cut short");
        channels.push_back(ch);
        t.channelIds.push_back(ch.id);
    }
    const std::vector<std::uint64_t> opaque{kRed, kGreen, kBlue},
        transparent{kRed, kGreen, kBlue, kMask, kAlpha};
    t.hasAlpha = channelCount == 5;
    if (t.channelIds != (t.hasAlpha ? transparent : opaque))
        return fail("channels are not red, green, blue (then mask, alpha)");
    for (const Channel& ch : channels) {
        if (ch.bits != (ch.id == kMask ? 1u : 8u)) return fail("wrong channel bit size");
    }
    if (t.surfaceFormat != (t.hasAlpha ? kSurfaceAlpha : kSurfaceOpaque))
        return fail("surface format does not fit the channels");

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
        const size_t n = static_cast<size_t>(side);
        level.pixels.assign(n * n, Pixel{0, 0, 0, 255});
        if (t.hasAlpha) level.mask.assign(n * n, 0);
        for (size_t y = 0; y < n; ++y, ++rowIndex) {
            if (offsets[rowIndex] + kSignature.size() != expected)
                return fail("row offset " + std::to_string(rowIndex) + " is wrong");
            const size_t maskBytes = (n + 7) / 8;
            const size_t rowBytes = 3 * n + (t.hasAlpha ? maskBytes + n : 0);
            if (expected + rowBytes > bytes.size()) return fail("pixel data cut short");
            auto byte = [&](size_t at) { return static_cast<std::uint8_t>(bytes[expected + at]); };
            for (size_t x = 0; x < n; ++x) {
                Pixel& p = level.pixels[y * n + x];
                for (size_t c = 0; c < 3; ++c) p[c] = byte(c * n + x);
                if (t.hasAlpha) {
                    level.mask[y * n + x] = (byte(3 * n + x / 8) >> (7 - x % 8)) & 1;
                    p[3] = byte(3 * n + maskBytes + x);
                }
            }
            expected += rowBytes;
        }
        t.levels.push_back(std::move(level));
    }
    return ReadResult{std::move(t), {}};
}

}  // namespace acecheck
