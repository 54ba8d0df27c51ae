#include "mist/visibility.h"

#include <cmath>

namespace mist {

int SnapToLevel(int position) {
    // 25 * Trunc(p * 0.04), done in integers so no rounding of 0.04 can move a boundary.
    return 25 * (position / 25);  // C++ division truncates towards zero, as Trunc does
}

int LevelIndex(int level) {
    for (std::size_t i = 0; i < kLevels.size(); ++i) {
        if (kLevels[i] == level) return int(i);
    }
    return -1;
}

int PositionFromMouse(int x, int maximum, int clientWidth) {
    if (clientWidth <= 0) return 25;
    const double exact = double(x) * double(maximum) / double(clientWidth);
    return int(std::nearbyint(exact)) + 25;  // the default rounding mode breaks ties to even
}

}  // namespace mist
