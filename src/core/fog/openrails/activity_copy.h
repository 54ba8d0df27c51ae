#pragma once
// Fogged copies of a route's activities for the open-source simulator, which takes its fog from
// the activity rather than from the environment files. A copy is the activity byte for byte,
// except for three edits: its display name says it is fogged, its header weather is the one
// chosen, and a weather-change event at the start (first in Events, so it fires at once) sets
// the visibility. Encoding, byte order mark and line ends stay those of the original.
#include <optional>
#include <string>
#include <string_view>

#include "core/fog/weather.h"

namespace fog {

// The header's Weather ( N ) for a weather: 0 clear, 1 snow, 2 rain.
int ActivityWeatherCode(Weather weather);

struct ActivityFog {
    Weather weather = Weather::Sun;
    int metres = 0;
    // Added to the display name, UTF-8, e.g. " (mist 50 m)".
    std::string nameSuffix;
    // The display name to start from when the header has none (the file's own name).
    std::string fallbackName;
};

// The copy's bytes, or nothing when `activity` is no activity file the simulator would read
// (no activity signature, unbalanced blocks, no header or file block, an encoding it cannot
// hold), which is then left alone.
std::optional<std::string> FogActivity(std::string_view activity, const ActivityFog& fog);

// "<stem>_ZEL_mist_<weather>_<metres>m.act", with "_<n>" before ".act" from the second try on:
// a name no route builder uses, and one that says what the file is.
std::string ActivityCopyName(std::string_view original, Weather weather, int metres, int attempt);
// Whether a file name is one ActivityCopyName gives (such a file is never copied again).
bool IsActivityCopyName(std::string_view name);

}  // namespace fog
