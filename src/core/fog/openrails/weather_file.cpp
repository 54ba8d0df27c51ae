#include "core/fog/openrails/weather_file.h"

namespace fog {

std::string WeatherFileName(Weather weather, int metres, int attempt) {
    std::string name = "ZEL_Nevora_";
    name += WeatherName(weather);
    name += '_' + std::to_string(metres) + 'm';
    if (attempt > 1) name += '_' + std::to_string(attempt);
    return name + ".weather-or";
}

std::string WeatherFileJson(Weather weather, int metres) {
    // Percent of the sky covered once the fog has set; as the activities' overcast.
    const int overcast = weather == Weather::Rain ? 80 : weather == Weather::Snow ? 70 : 0;
    // "Type" comes first: the reader decides what a change is from it before reading the rest.
    // Set and lift times are the shortest the simulator accepts; a fog at the start of the day
    // is there at once whatever the set time.
    return "{\r\n"
           "  \"Changes\": [\r\n"
           "    {\r\n"
           "      \"Type\": \"Fog\",\r\n"
           "      \"Time\": \"00:00\",\r\n"
           "      \"FogVisibility\": " +
           std::to_string(metres) +
           ",\r\n"
           "      \"FogSetTime\": 300,\r\n"
           "      \"FogLiftTime\": 300,\r\n"
           "      \"FogOvercast\": " +
           std::to_string(overcast) +
           "\r\n"
           "    }\r\n"
           "  ]\r\n"
           "}\r\n";
}

}  // namespace fog
