// Fogged activity copies, read back with the test reader written to the simulator's grammar.
#include "core/fog/openrails/activity_copy.h"

#include <gtest/gtest.h>

#include "support/activity_reader.h"

using namespace fog;

namespace {

// An activity as route builders ship them (the activity editor's layout), with or without events.
std::string ActivityText(bool withEvents, const std::string& name = "\"Morning freight\"") {
    std::string t =
        "SIMISA@@@@@@@@@@JINX0a0t______\n"
        "\n"
        "Tr_Activity (\n"
        "\tSerial ( 1 )\n"
        "\tTr_Activity_Header (\n"
        "\t\tRouteID ( demo )\n"
        "\t\tName ( " +
        name +
        " )\n"
        "\t\tDescription ( \"Bring the \\\"empties\\\" \" +\n"
        "\t\t\t\"to the yard.\" )\n"
        "\t\tBriefing ( \"Line one\\nLine two\" )\n"
        "\t\tCompleteActivity ( 1 )\n"
        "\t\tType ( 0 )\n"
        "\t\tMode ( 2 )\n"
        "\t\tStartTime ( 7 30 0 )\n"
        "\t\tSeason ( 1 )\n"
        "\t\tWeather ( 0 )\n"
        "\t\tPathID ( freight1 )\n"
        "\t\tStartingSpeed ( 0 )\n"
        "\t\tDuration ( 1 30 )\n"
        "\t\tDifficulty ( 1 )\n"
        "\t\tAnimals ( 100 )\n"
        "\t\tWorkers ( 0 )\n"
        "\t\tFuelWater ( 100 )\n"
        "\t\tFuelCoal ( 100 )\n"
        "\t\tFuelDiesel ( 100 )\n"
        "\t)\n"
        "\tTr_Activity_File (\n"
        "\t\tPlayer_Service_Definition ( freight1\n"
        "\t\t\tPlayer_Traffic_Definition ( 27000\n"
        "\t\t\t\tArrivalTime ( 27000 ) DepartTime ( 27060 ) SkipCount ( 0 )\n"
        "\t\t\t\tDistanceDownPath ( 120.5 ) PlatformStartID ( 12 )\n"
        "\t\t\t)\n"
        "\t\t\tUiD ( 0 )\n"
        "\t\t)\n"
        "\t\tNextServiceUID ( 1 )\n"
        "\t\tNextActivityObjectUID ( 32786 )\n";
    if (withEvents) {
        t += "\t\tEvents (\n"
             "\t\t\tEventCategoryLocation (\n"
             "\t\t\t\tEventTypeLocation ( )\n"
             "\t\t\t\tID ( 3 )\n"
             "\t\t\t\tActivation_Level ( 1 )\n"
             "\t\t\t\tOutcomes (\n"
             "\t\t\t\t\tDisplayMessage ( \"Slow down (yard)\" )\n"
             "\t\t\t\t)\n"
             "\t\t\t\tName ( Yard )\n"
             "\t\t\t\tLocation ( -6131 14888 -345.2 552.1 20 )\n"
             "\t\t\t)\n"
             "\t\t\t_Comment ( \"ID ( 99 ) hidden from the reader\" )\n"
             "\t\t\tEventCategoryAction (\n"
             "\t\t\t\tEventTypeAllStops ( )\n"
             "\t\t\t\tID ( 7 )\n"
             "\t\t\t\tActivation_Level ( 1 )\n"
             "\t\t\t\tOutcomes (\n"
             "\t\t\t\t\tActivitySuccess ( )\n"
             "\t\t\t\t)\n"
             "\t\t\t\tName ( Stops )\n"
             "\t\t\t)\n"
             "\t\t)\n";
    }
    t += "\t)\n"
         ")";
    return t;
}

std::string Crlf(const std::string& lf) {
    std::string out;
    for (char c : lf) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// UTF-16LE with its byte order mark, as the activity editor writes (ASCII input).
std::string Utf16(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

ActivityFog Fog(Weather weather, int metres) {
    return {weather, metres, " (mist " + std::to_string(metres) + " m)", "fallback"};
}

// What every copy must be: readable without a warning, the fog event first at the start with a
// fresh ID, the header weather and name set, and nothing else changed.
void ExpectFogged(const std::string& original, const std::string& copy, Weather weather, int metres,
                  const std::string& expectedName) {
    const actcheck::Activity before = actcheck::ReadActivity(original);
    const actcheck::Activity after = actcheck::ReadActivity(copy);
    ASSERT_TRUE(after.warnings.empty()) << after.warnings.front();
    EXPECT_EQ(after.encoding, before.encoding);
    EXPECT_EQ(after.crlf, before.crlf);
    EXPECT_EQ(after.name, expectedName);
    EXPECT_EQ(after.weather, ActivityWeatherCode(weather));
    ASSERT_EQ(after.events.size(), before.events.size() + 1);
    const actcheck::Event& fog = after.events.front();
    EXPECT_EQ(fog.category, "eventcategorytime");
    EXPECT_EQ(fog.activationLevel, 1);
    EXPECT_EQ(fog.time, 0.0);
    EXPECT_FALSE(fog.hasDisplayMessage);
    EXPECT_EQ(fog.fogMetres, double(metres));
    EXPECT_EQ(fog.fogSeconds, 0.0);
    if (weather == Weather::Sun) {
        EXPECT_FALSE(fog.overcast);
    } else {
        ASSERT_TRUE(fog.overcast);
        EXPECT_GT(*fog.overcast, 0.5);
        EXPECT_LE(*fog.overcast, 1.0);
    }
    ASSERT_TRUE(fog.id);
    for (std::size_t i = 1; i < after.events.size(); ++i) EXPECT_NE(after.events[i].id, fog.id);
    EXPECT_EQ(actcheck::ItemsWithoutFog(after, true), actcheck::ItemsWithoutFog(before, false));
    EXPECT_EQ(copy.substr(0, 4), original.substr(0, 4));  // byte order mark and signature
}

}  // namespace

TEST(ActivityCopy, FogsActivitiesInEveryEncodingAndLayout) {
    struct Case {
        const char* what;
        std::string bytes;
        Weather weather;
        int metres;
    };
    const Case cases[] = {
        {"UTF-16 CRLF with events", Utf16(Crlf(ActivityText(true))), Weather::Rain, 50},
        {"UTF-16 CRLF without events", Utf16(Crlf(ActivityText(false))), Weather::Snow, 25},
        {"8-bit LF with events", ActivityText(true), Weather::Sun, 125},
        {"UTF-8 with BOM, no events", "\xEF\xBB\xBF" + Crlf(ActivityText(false)), Weather::Rain,
         75},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto copy = FogActivity(c.bytes, Fog(c.weather, c.metres));
        ASSERT_TRUE(copy);
        ExpectFogged(c.bytes, *copy, c.weather, c.metres,
                     "Morning freight (mist " + std::to_string(c.metres) + " m)");
    }
}

TEST(ActivityCopy, NamesAsTheSimulatorShowsThemAndAddsWhatTheHeaderLacks) {
    // An unquoted name shows its first word only; a quote inside a name survives.
    const std::string unquoted = Utf16(Crlf(ActivityText(true, "Morning freight")));
    auto copy = FogActivity(unquoted, Fog(Weather::Rain, 100));
    ASSERT_TRUE(copy);
    ExpectFogged(unquoted, *copy, Weather::Rain, 100, "Morning (mist 100 m)");

    const std::string quote = ActivityText(false, "\"The \\\"Flyer\\\"\"");
    copy = FogActivity(quote, Fog(Weather::Sun, 50));
    ASSERT_TRUE(copy);
    ExpectFogged(quote, *copy, Weather::Sun, 50, "The \"Flyer\" (mist 50 m)");

    // No Name and no Weather: both are added, the name from the file.
    std::string bare = ActivityText(false);
    for (const std::string line : {"\t\tName ( \"Morning freight\" )\n", "\t\tWeather ( 0 )\n"})
        bare.erase(bare.find(line), line.size());
    copy = FogActivity(bare, Fog(Weather::Snow, 75));
    ASSERT_TRUE(copy);
    const actcheck::Activity read = actcheck::ReadActivity(*copy);
    EXPECT_TRUE(read.warnings.empty());
    EXPECT_EQ(read.name, "fallback (mist 75 m)");
    EXPECT_EQ(read.weather, 1);
    ASSERT_EQ(read.events.size(), 1u);
    EXPECT_EQ(read.events[0].fogMetres, 75.0);

    // A non-ASCII word of a pack goes in as the file's own encoding.
    ActivityFog german = Fog(Weather::Sun, 25);
    german.nameSuffix = " (Nebel 25 m, \xC3\xA4)";
    copy = FogActivity(unquoted, german);
    ASSERT_TRUE(copy);
    EXPECT_EQ(actcheck::ReadActivity(*copy).name, "Morning (Nebel 25 m, \xC3\xA4)");
}

TEST(ActivityCopy, TheNewEventTakesAnIdNoEventHas) {
    // IDs 3 and 7 are taken; 99 is hidden from the reader and does not count.
    const auto copy = FogActivity(ActivityText(true), Fog(Weather::Sun, 50));
    ASSERT_TRUE(copy);
    EXPECT_EQ(actcheck::ReadActivity(*copy).events.front().id, 8);
}

TEST(ActivityCopy, WhatIsNoActivityIsRefused) {
    const std::string good = ActivityText(true);
    const std::string refused[] = {
        "",
        "SIMISA@@@@@@@@@@JINX0t0t______\nTr_Activity ( )",               // another file type
        "SIMISA@F\x01\x02\x03 compressed",                               // binary
        good.substr(0, good.size() - 1),                                 // a block left open
        good + " )",                                                     // one closed too many
        "SIMISA@@@@@@@@@@JINX0a0t______\nTr_Activity ( Serial ( 1 ) )",  // no header or file
        "\xFE\xFF" + good,                                               // big-endian UTF-16
        Utf16(good) + "x",                                               // half a UTF-16 unit
        "SIMISA@@@@@@@@@@JINX0a0t______\nTr_Activity ( Tr_Activity_Header ( Name ( \"open ) ) )",
    };
    for (const std::string& bytes : refused)
        EXPECT_FALSE(FogActivity(bytes, Fog(Weather::Sun, 50)));
}

TEST(ActivityCopy, CopyNamesSayWhatTheyAreAndAreRecognised) {
    EXPECT_EQ(ActivityCopyName("freight.act", Weather::Rain, 50, 1),
              "freight_ZEL_mist_rain_50m.act");
    EXPECT_EQ(ActivityCopyName("a.b.ACT", Weather::Sun, 125, 3), "a.b_ZEL_mist_sun_125m_3.act");
    EXPECT_TRUE(IsActivityCopyName("freight_zel_MIST_rain_50m.act"));
    EXPECT_FALSE(IsActivityCopyName("freight.act"));
}
