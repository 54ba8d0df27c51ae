#pragma once
// The visibility scale: five levels of fog, each with its state colour.
#include <array>
#include <cstdint>

#include "core/colour/color_code.h"

namespace fog {

inline constexpr std::array<int, 5> kLevels = {25, 50, 75, 100, 125};

// Text colours of the fog states, from the densest fog (red) to the lightest (green).
inline constexpr std::array<widgets::ColorCode, 5> kFogStateColors = {
    widgets::ColorFromRgb(255, 2, 2),    // 25 m
    widgets::ColorFromRgb(252, 152, 3),  // 50 m
    widgets::ColorFromRgb(250, 243, 5),  // 75 m
    widgets::ColorFromRgb(189, 250, 5),  // 100 m
    widgets::ColorFromRgb(16, 207, 5),   // 125 m
};

// A track bar position rounded down to a multiple of 25 (49 -> 25, 125 -> 125).
int SnapToLevel(int position);

// Index 0..4 of a level, or -1 when the value is no level.
int LevelIndex(int level);

// The position a mouse press at x asks for: x * maximum / width, rounded half to even, plus 25.
// Not clamped: the track bar clamps it.
int PositionFromMouse(int x, int maximum, int clientWidth);

}  // namespace fog
