#include "core/fog/weather.h"

#include <array>

#include "core/fog/visibility.h"
#include "core/platform/paths.h"

namespace fog {

namespace {
constexpr std::array<std::string_view, 2> kRainTextures{"ZEL_snowsky.ace", "ZEL_snowskylo.ace"};
constexpr std::array<std::string_view, 2> kSnowTextures{"ZEL_rainsky.ace", "ZEL_rainskylo.ace"};
}  // namespace

SearchPatterns PatternsFor(Weather weather) {
    switch (weather) {
        case Weather::Sun:
            return {"*sun*.env", "*clear*.env"};
        case Weather::Rain:
            return {"rain.env", "*rain*.env"};
        case Weather::Snow:
            return {"snow.env", "*snow*.env"};
    }
    return {};
}

std::string_view WeatherName(Weather weather) {
    switch (weather) {
        case Weather::Sun:
            return "sun";
        case Weather::Rain:
            return "rain";
        case Weather::Snow:
            return "snow";
    }
    return {};
}

std::optional<Weather> WeatherFromName(std::string_view name) {
    for (Weather w : {Weather::Sun, Weather::Rain, Weather::Snow}) {
        if (WeatherName(w) == name) return w;
    }
    return std::nullopt;
}

std::span<const std::string_view> TexturesFor(Weather weather) {
    switch (weather) {
        case Weather::Sun:
            return {};
        case Weather::Rain:
            return kRainTextures;
        case Weather::Snow:
            return kSnowTextures;
    }
    return {};
}

std::optional<std::string> PreparedEnvFile(Weather weather, int metres) {
    if (LevelIndex(metres) < 0) return std::nullopt;
    const std::string name(WeatherName(weather));
    return platform::JoinPath(platform::DumpPath(name), name + std::to_string(metres) + ".env");
}

}  // namespace fog
