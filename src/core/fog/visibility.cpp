#include "core/fog/visibility.h"

#include <cmath>

namespace fog {

int SnapToLevel(int position) {
    // In whole numbers, so that no rounding can move a level's boundary; the division truncates
    // towards zero.
    return 25 * (position / 25);
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

}  // namespace fog
