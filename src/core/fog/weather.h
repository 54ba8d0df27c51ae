#pragma once
// The three weathers of a fog run and the shipped data that belongs to each.
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace fog {

enum class Weather { Sun, Rain, Snow };

// The weather's two search patterns: the first names one file, the broad one up to four.
struct SearchPatterns {
    std::string_view first;
    std::string_view broad;
};
SearchPatterns PatternsFor(Weather weather);

// "sun", "rain" or "snow": the folder under Dump holding the prepared files, and the name the
// run record stores.
std::string_view WeatherName(Weather weather);
std::optional<Weather> WeatherFromName(std::string_view name);

// Sky textures a run adds, in the order they are copied. Rain gets the pair named after snow and
// snow the pair named after rain: the shipped skies were drawn that way round.
std::span<const std::string_view> TexturesFor(Weather weather);

// <prog>Dump/<weather>/<weather><metres>.env, or nothing for a level without a prepared file
// (the levels of the visibility scale have one).
std::optional<std::string> PreparedEnvFile(Weather weather, int metres);

}  // namespace fog
