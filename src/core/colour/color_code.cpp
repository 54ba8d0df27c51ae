#include "core/colour/color_code.h"

#include <utility>

namespace widgets {
namespace {

// The classic Windows scheme, used until a toolkit installs its own resolver.
ColorCode ClassicSystemColor(int index) {
    switch (index) {
        case 5:
            return ColorFromRgb(255, 255, 255);  // window
        case 6:
        case 8:
            return ColorFromRgb(0, 0, 0);  // window frame, window text
        case 15:
            return ColorFromRgb(192, 192, 192);  // button face
        case 16:
            return ColorFromRgb(128, 128, 128);  // button shadow
        case 18:
            return ColorFromRgb(0, 0, 0);  // button text
        case 20:
            return ColorFromRgb(255, 255, 255);  // button highlight
        default:
            return ColorFromRgb(0, 0, 0);
    }
}

SystemColorResolver& Resolver() {
    static SystemColorResolver resolver = ClassicSystemColor;
    return resolver;
}

}  // namespace

ColorCode ResolvedRgb(ColorCode c) {
    if (IsSystemColor(c)) return Resolver()(int(c & 0xFF)) & 0xFFFFFF;
    return c & 0xFFFFFF;
}

SystemColorResolver SetSystemColorResolver(SystemColorResolver resolver) {
    if (!resolver) resolver = ClassicSystemColor;
    return std::exchange(Resolver(), std::move(resolver));
}

}  // namespace widgets
