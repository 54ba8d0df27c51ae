#pragma once
// The timetable weather file for the open-source simulator: in timetable mode it takes its
// weather from a JSON file in the route's WeatherFiles folder, picked in its menu.
#include <string>

#include "core/fog/weather.h"

namespace fog {

// The folder under the route that holds weather files, as the simulator spells it.
inline constexpr char kWeatherFilesFolder[] = "WeatherFiles";

// "ZEL_Nevora_<weather>_<metres>m.weather-or", with "_<n>" before the extension from the second
// try on: named for the program, the weather and the visibility.
std::string WeatherFileName(Weather weather, int metres, int attempt = 1);

// The file's JSON: one fog change at midnight, so the whole day is fogged from the start. The
// simulator plays one change at a time and lifts a fog before the change that follows it, so
// the file holds the fog alone; for rain and snow its sky is overcast.
std::string WeatherFileJson(Weather weather, int metres);

}  // namespace fog
