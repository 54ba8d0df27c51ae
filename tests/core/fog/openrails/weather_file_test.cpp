// The timetable weather file, read with Qt's JSON reader as the simulator's reader takes it.
#include "core/fog/openrails/weather_file.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace fog;

TEST(WeatherFile, HoldsTheFogFromTheStartOfTheDay) {
    for (Weather weather : {Weather::Sun, Weather::Rain, Weather::Snow}) {
        for (int metres : {25, 125}) {
            SCOPED_TRACE(std::string(WeatherName(weather)) + std::to_string(metres));
            const std::string json = WeatherFileJson(weather, metres);
            QJsonParseError error;
            const QJsonDocument doc =
                QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
            ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
            const QJsonArray changes = doc.object().value("Changes").toArray();
            ASSERT_EQ(changes.size(), 1);
            const QJsonObject fog = changes[0].toObject();
            EXPECT_EQ(fog.value("Type").toString(), "Fog");
            // The reader decides the kind of a change from "Type", so it must come first.
            EXPECT_LT(json.find("\"Type\""), json.find("\"FogVisibility\""));
            EXPECT_EQ(fog.value("Time").toString(), "00:00");
            EXPECT_TRUE(fog.value("FogVisibility").isDouble());
            EXPECT_EQ(fog.value("FogVisibility").toInt(), metres);
            for (const char* key : {"FogSetTime", "FogLiftTime"}) {
                EXPECT_GE(fog.value(key).toInt(), 300) << key;
                EXPECT_LE(fog.value(key).toInt(), 3600) << key;
            }
            const int overcast = fog.value("FogOvercast").toInt(-1);
            EXPECT_EQ(overcast > 0, weather != Weather::Sun);
            EXPECT_LE(overcast, 100);
        }
    }
    EXPECT_EQ(WeatherFileName(Weather::Snow, 75), "ZEL_Nevora_snow_75m.weather-or");
    EXPECT_EQ(WeatherFileName(Weather::Rain, 25, 2), "ZEL_Nevora_rain_25m_2.weather-or");
}
