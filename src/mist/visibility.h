#pragma once
// The visibility scale: five levels of fog, each with its state colour.
#include <array>
#include <cstdint>

namespace mist {

inline constexpr std::array<int, 5> kLevels = {25, 50, 75, 100, 125};

// Text colours of the fog states (framework colour values, 0x00BBGGRR), level order.
inline constexpr std::array<std::uint32_t, 5> kFogStateColors = {131839, 235772, 390138, 391869,
                                                                 380688};

// A track bar position rounded down to a multiple of 25 (49 -> 25, 125 -> 125).
int SnapToLevel(int position);

// Index 0..4 of a level, or -1 when the value is no level.
int LevelIndex(int level);

// The position a mouse press at x asks for: x * maximum / width, rounded half to even, plus 25.
// Not clamped: the track bar clamps it.
int PositionFromMouse(int x, int maximum, int clientWidth);

}  // namespace mist
