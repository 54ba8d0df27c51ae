#include "core/fog/discovery.h"

#include <gtest/gtest.h>

#include "core/fog/run_record.h"
#include "core/platform/paths.h"
#include "support/fixtures.h"

using namespace fog;
using testsupport::SimulatorTree;
using Slots = std::array<std::string, 4>;

class DiscoveryTest : public ::testing::Test {
  protected:
    SimulatorTree sim;
    void Add(std::initializer_list<const char*> names) {
        for (const char* name : names) sim.AddEnvFile("R", name);
    }
    EnvFiles Find(Weather weather) {
        return FindEnvFiles(RouteEnvFolder(sim.root().string(), "R") + platform::kPathSep, weather);
    }
};

TEST_F(DiscoveryTest, FirstPatternGivesOneFileAndBeatsTheBroadOne) {
    Add({"summer_sun.env", "spring_sun.env", "a_clear.env", "rain.env", "autumn_rain.env"});
    EnvFiles sun = Find(Weather::Sun);
    EXPECT_EQ(sun.names, (Slots{"spring_sun.env", "", "", ""}));
    EXPECT_FALSE(sun.multiFileMode);
    EnvFiles rain = Find(Weather::Rain);
    EXPECT_EQ(rain.names, (Slots{"rain.env", "", "", ""}));
    EXPECT_FALSE(rain.multiFileMode);
}

TEST_F(DiscoveryTest, BroadPatternFillsUpToFourSlotsInListingOrder) {
    Add({"f_clear.env", "B_Clear.env", "e_clear.env", "a_clear.env", "d_clear.env", "c_clear.env",
         "x_snow.env", "W_SNOW.ENV"});
    EnvFiles sun = Find(Weather::Sun);
    EXPECT_EQ(sun.names, (Slots{"a_clear.env", "B_Clear.env", "c_clear.env", "d_clear.env"}));
    EXPECT_TRUE(sun.multiFileMode);
    EnvFiles snow = Find(Weather::Snow);
    EXPECT_EQ(snow.names, (Slots{"W_SNOW.ENV", "x_snow.env", "", ""}));
    EXPECT_TRUE(snow.multiFileMode);
}

TEST_F(DiscoveryTest, UpperCaseExactNameKeepsItsSpelling) {
    Add({"RAIN.ENV", "autumn_rain.env"});
    EXPECT_EQ(Find(Weather::Rain).names[0], "RAIN.ENV");
    EXPECT_FALSE(Find(Weather::Rain).multiFileMode);
}

TEST_F(DiscoveryTest, FoldersNeverMatchHiddenFilesDo) {
    Add({".old_rain.env"});
    std::filesystem::create_directories(sim.envfiles("R") / "rain.env");
    std::filesystem::create_directories(sim.envfiles("R") / "a_rain.env");
    EXPECT_EQ(Find(Weather::Rain).names, (Slots{".old_rain.env", "", "", ""}));
    EXPECT_TRUE(Find(Weather::Rain).multiFileMode);
}

TEST_F(DiscoveryTest, NoMatchingFileIsReportedMissing) {
    Add({"rain.env"});
    EnvFiles snow = Find(Weather::Snow);
    EXPECT_TRUE(snow.missing);
    EXPECT_FALSE(snow.multiFileMode);
    EXPECT_EQ(snow.names, Slots{});
}

TEST_F(DiscoveryTest, EnvFolderCheck) {
    const std::string root = sim.root().string();
    std::filesystem::create_directories(sim.routes() / "Empty");
    std::filesystem::create_directories(sim.routes() / "Upper" / "ENVFILES");
    testsupport::WriteFile(sim.routes() / "Plain" / "Envfiles", "not a folder");
    Add({"rain.env"});
    EXPECT_TRUE(EnvFolderFound(RouteEnvFolder(root, "R")));
    EXPECT_TRUE(EnvFolderFound(RouteEnvFolder(root, "Upper")));
    EXPECT_TRUE(EnvFolderFound(RouteEnvFolder(root, "Plain")));
    EXPECT_FALSE(EnvFolderFound(RouteEnvFolder(root, "Empty")));
    EXPECT_FALSE(EnvFolderFound(RouteEnvFolder(root, "Gone")));
}

TEST(RouteName, OnlyPlainFolderNamesPass) {
    for (const char* bad :
         {"", ".", "..", "../x", "a/b", "a\\b", "C:", "x*", "a?", "a\nb", "route.", "route "}) {
        EXPECT_FALSE(IsPlainName(bad)) << bad;
    }
    EXPECT_FALSE(IsPlainName(std::string("a\0b", 3)));
    for (const char* good : {"Europe1", " lead", "Route (v2.1)", "Z\xC3\xBCrich", "Geen Route"}) {
        EXPECT_TRUE(IsPlainName(good)) << good;
    }
}
