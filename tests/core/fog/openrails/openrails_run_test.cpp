// A fog run with the Open Rails option: fogged activity copies and a weather file beside the
// route's own files, recorded before they are written, and taken away again by the restore only
// while they hold what the run wrote.
#include <gtest/gtest.h>

#include <chrono>

#include "core/fog/fog_run.h"
#include "core/fog/restore.h"
#include "core/fog/run_record.h"
#include "core/platform/paths.h"
#include "support/activity_reader.h"
#include "support/fog_fixtures.h"

using namespace fog;
using namespace testsupport;

namespace {

const std::string kActivity =
    "SIMISA@@@@@@@@@@JINX0a0t______\r\n\r\nTr_Activity (\r\n\tTr_Activity_Header (\r\n"
    "\t\tName ( \"Freight\" )\r\n\t\tWeather ( 0 )\r\n\t)\r\n\tTr_Activity_File (\r\n"
    "\t\tEvents (\r\n\t\t\tEventCategoryTime (\r\n\t\t\t\tID ( 4 )\r\n"
    "\t\t\t\tActivation_Level ( 1 )\r\n\t\t\t\tOutcomes ( )\r\n\t\t\t)\r\n\t\t)\r\n\t)\r\n)";

std::string Utf16(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) out += {c, '\0'};
    return out;
}

class OpenRailsRunTest : public ::testing::Test {
  protected:
    ProgramFolder program;
    SimulatorTree sim;
    fs::path route = sim.routes() / "R";
    fs::path activities = route / "Activities";

    void SetUp() override {
        WriteFogData(program);
        program.WriteSettings(SettingsText("Nederlands", sim.root().string()));
        sim.AddEnvFile("R", "rain.env");
        sim.AddTexturesFolder("R");
    }
    RunOutcome Run(bool openRails, RunReport* report = nullptr) {
        FogRunRequest request = FogRequest(sim, "R", Weather::Rain, 50);
        request.openRails = openRails;
        request.fogWord = "mist";
        return RunFog(request, {}, report);
    }
};

}  // namespace

TEST_F(OpenRailsRunTest, AddsCopiesAndAWeatherFileThatTheRestoreTakesAwayAgain) {
    WriteFile(activities / "a.act", Utf16(kActivity));
    WriteFile(activities / "b.act", kActivity.substr(0, kActivity.find("\t\tEvents")) + "\t)\r\n)");
    WriteFile(activities / "broken.act", "not an activity");
    WriteFile(activities / "OpenRails" / "a.act", "extension");
    // The first name is taken: the copy of a takes the next, and so does its extension.
    WriteFile(activities / "a_ZEL_mist_rain_50m.act", "the player's own");
    const Snapshot before = TakeSnapshot(sim.routes());

    RunReport report;
    ASSERT_EQ(Run(true, &report), RunOutcome::Installed);
    EXPECT_EQ(report.unreadableActivities, std::vector<std::string>{"broken.act"});
    EXPECT_TRUE(report.notAdded.empty());
    const Snapshot after = TakeSnapshot(sim.routes());
    for (const auto& [path, bytes] : before) {
        if (path != "R/Envfiles/rain.env") {
            EXPECT_EQ(after.at(path), bytes) << path;
        }
    }
    for (const char* copy : {"a_ZEL_mist_rain_50m_2.act", "b_ZEL_mist_rain_50m.act"}) {
        SCOPED_TRACE(copy);
        const actcheck::Activity read = actcheck::ReadActivity(ReadFile(activities / copy));
        EXPECT_TRUE(read.warnings.empty());
        EXPECT_EQ(read.name, "Freight (mist 50 m)");
        EXPECT_EQ(read.weather, 2);
        ASSERT_FALSE(read.events.empty());
        EXPECT_EQ(read.events[0].fogMetres, 50.0);
    }
    EXPECT_EQ(actcheck::ReadActivity(ReadFile(activities / "a_ZEL_mist_rain_50m_2.act")).encoding,
              "utf-16le");
    EXPECT_EQ(ReadFile(activities / "OpenRails" / "a_ZEL_mist_rain_50m_2.act"), "extension");
    EXPECT_TRUE(fs::exists(route / "WeatherFiles" / "ZEL_Nevora_rain_50m.weather-or"));
    EXPECT_EQ(after.size(), before.size() + 2 /*textures*/ + 5 /*4 files, 1 folder*/);

    const auto record = LoadRunRecord();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->added, report.record.added);
    ASSERT_EQ(record->added.size(), 4u);
    EXPECT_EQ(record->addedFolders, std::vector<std::string>{"WeatherFiles"});
    const OpenRailsFiles summary = AddedForOpenRails(*record);
    EXPECT_EQ(summary.activityCopies, 2u);
    EXPECT_EQ(summary.weatherFile, "WeatherFiles/ZEL_Nevora_rain_50m.weather-or");

    EXPECT_TRUE(RestoreFog(*record).Complete());
    EXPECT_FALSE(LoadRunRecord());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
}

TEST_F(OpenRailsRunTest, ChangedFilesAreLeftAndNamedAndTheFolderStaysWhileItHoldsAnything) {
    WriteFile(activities / "a.act", kActivity);
    WriteFile(activities / "b.act", kActivity);
    ASSERT_EQ(Run(true), RunOutcome::Installed);
    const auto record = LoadRunRecord();
    ASSERT_TRUE(record);
    // The player edited one copy, deleted the other and put a weather file of his own beside ours.
    WriteFile(activities / "a_ZEL_mist_rain_50m.act", "edited");
    fs::remove(activities / "b_ZEL_mist_rain_50m.act");
    WriteFile(route / "WeatherFiles" / "mine.weather-or", "{}");

    const RestoreOutcome outcome = RestoreFog(*record);
    EXPECT_EQ(outcome.keptAdded,
              std::vector<std::string>{(activities / "a_ZEL_mist_rain_50m.act").string()});
    EXPECT_TRUE(outcome.addedRetry.empty());
    EXPECT_FALSE(LoadRunRecord());  // nothing is left that could ever be deleted
    EXPECT_EQ(ReadFile(activities / "a_ZEL_mist_rain_50m.act"), "edited");
    EXPECT_FALSE(fs::exists(route / "WeatherFiles" / "ZEL_Nevora_rain_50m.weather-or"));
    EXPECT_EQ(ReadFile(route / "WeatherFiles" / "mine.weather-or"), "{}");
}

// Hundreds of activities are read, fogged and checked back side by side: what comes out must
// not depend on which finishes first.
TEST_F(OpenRailsRunTest, ManyActivitiesComeOutInTheirOrderAndOnlyChangedCopiesStay) {
    std::vector<std::string> broken, copies;
    for (int n = 0; n < 60; ++n) {
        const std::string stem = "act" + std::to_string(100 + n);
        const bool readable = n % 10 != 3;
        WriteFile(activities / (stem + ".act"), readable ? Utf16(kActivity) : "no activity");
        (readable ? copies : broken)
            .push_back(readable ? "Activities/" + stem + "_ZEL_mist_rain_50m.act" : stem + ".act");
    }
    const Snapshot before = TakeSnapshot(sim.routes());
    RunReport report;
    ASSERT_EQ(Run(true, &report), RunOutcome::Installed);
    EXPECT_EQ(report.unreadableActivities, broken);
    ASSERT_EQ(report.record.added.size(), copies.size() + 1);
    for (std::size_t i = 0; i < copies.size(); ++i)
        EXPECT_EQ(report.record.added[i].path, copies[i]);

    const std::vector<fs::path> edited = {activities / "act105_ZEL_mist_rain_50m.act",
                                          activities / "act138_ZEL_mist_rain_50m.act"};
    for (const fs::path& copy : edited) WriteFile(copy, "edited");
    const RestoreOutcome outcome = RestoreFog(report.record);
    EXPECT_EQ(outcome.keptAdded,
              (std::vector<std::string>{edited[0].string(), edited[1].string()}));
    for (const fs::path& copy : edited) fs::remove(copy);
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
}

TEST_F(OpenRailsRunTest, WithoutTheOptionOrActivitiesOnlyWhatIsAskedForIsAdded) {
    WriteFile(activities / "a.act", kActivity);
    fs::create_directories(route / "WeatherFiles");
    const Snapshot before = TakeSnapshot(sim.routes());
    ASSERT_EQ(Run(false), RunOutcome::Installed);
    EXPECT_TRUE(LoadRunRecord()->added.empty());
    Snapshot fogged = TakeSnapshot(sim.routes());
    EXPECT_EQ(fogged.size(), before.size() + 2);  // the two textures, nothing else
    ASSERT_TRUE(RestoreFog(*LoadRunRecord()).Complete());

    // A route without activities gets the weather file alone, in the folder it has.
    fs::remove_all(activities);
    const Snapshot bare = TakeSnapshot(sim.routes());
    RunReport report;
    ASSERT_EQ(Run(true, &report), RunOutcome::Installed);
    ASSERT_EQ(report.record.added.size(), 1u);
    EXPECT_EQ(report.record.added[0].path, "WeatherFiles/ZEL_Nevora_rain_50m.weather-or");
    EXPECT_TRUE(report.record.addedFolders.empty());
    ASSERT_TRUE(RestoreFog(*LoadRunRecord()).Complete());
    EXPECT_EQ(TakeSnapshot(sim.routes()), bare);
}

TEST_F(OpenRailsRunTest, RecordNamingAnyOtherAddedFileIsRefused) {
    const std::string sound = "[Herstel]\r\nRoute=R\r\nPad=" + sim.root().string() +
                              "\r\nWeer=rain\r\nZicht=50\r\nMeerdere=0\r\nBestand1=rain.env\r\n";
    const std::string hash = "|12|0123456789abcdef\r\n";
    WriteFile(RunRecordPath(), sound + "Toegevoegd1=Activities/a_ZEL_mist_rain_50m.act" + hash +
                                   "Toegevoegd2=ACTIVITIES/OpenRails/a_ZEL_mist_rain_50m.act" +
                                   hash +
                                   "Toegevoegd3=WeatherFiles/ZEL_Nevora_rain_50m.weather-or" +
                                   hash + "NieuweMap1=WeatherFiles\r\n");
    const auto record = LoadRunRecord();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->added.size(), 3u);
    for (const std::string& added :
         {"Toegevoegd1=Envfiles/rain.env" + hash, "Toegevoegd1=Activities/a.act" + hash,
          "Toegevoegd1=Activities/../../x_ZEL_mist_.act" + hash,
          "Toegevoegd1=WeatherFiles/other.weather-or" + hash,
          "Toegevoegd1=Other/a_ZEL_mist_rain_50m.act" + hash,
          std::string("Toegevoegd1=Activities/a_ZEL_mist_rain_50m.act|12|xyz\r\n"),
          std::string("Toegevoegd1=Activities/a_ZEL_mist_rain_50m.act\r\n"),
          std::string("NieuweMap1=Activities\r\n")}) {
        SCOPED_TRACE(added);
        WriteFile(RunRecordPath(), sound + added);
        EXPECT_FALSE(LoadRunRecord());
    }
}

// A name the record cannot hold must cost only that activity its copy, never the others'.
TEST_F(OpenRailsRunTest, ActivityWithANameTheRecordCannotHoldIsSkippedAndTheOthersAreCopied) {
    if constexpr (platform::kWindows) GTEST_SKIP() << "Windows file names hold no colon or quote";
    const std::vector<std::string> odd = {"%s%n%x%0:99999s.act", "quo\"te.act"};
    for (const std::string& name : odd) {
        WriteFile(activities / name, kActivity);
        WriteFile(activities / "OpenRails" / name, "extension");
    }
    WriteFile(activities / "good.act", kActivity);
    const Snapshot before = TakeSnapshot(sim.routes());

    RunReport report;
    ASSERT_EQ(Run(true, &report), RunOutcome::Installed);
    EXPECT_EQ(report.unreadableActivities, odd);
    EXPECT_TRUE(report.notAdded.empty());
    const auto record = LoadRunRecord();
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, report.record);
    const OpenRailsFiles summary = AddedForOpenRails(*record);
    EXPECT_EQ(summary.activityCopies, 1u);
    EXPECT_FALSE(summary.weatherFile.empty());
    EXPECT_TRUE(fs::exists(activities / "good_ZEL_mist_rain_50m.act"));
    // The route gained the good copy, the weather file with its folder, and the two textures.
    EXPECT_EQ(TakeSnapshot(sim.routes()).size(), before.size() + 5);

    ASSERT_TRUE(RestoreFog(*record).Complete());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
}

// A link below the route folder may lead anywhere: neither the run nor the restore writes, deletes
// or clears leftovers through it. What the restore leaves there is named.
TEST_F(OpenRailsRunTest, NothingIsWrittenOrDeletedThroughAFolderLinkInTheRoute) {
    const std::string copy = "a_ZEL_mist_rain_50m.act";
    const fs::path envfiles = route / "Envfiles", textures = envfiles / "Textures";
    const fs::path outside = sim.root() / "outside";
    WriteFile(activities / "a.act", kActivity);
    WriteFile(activities / "OpenRails" / "a.act", "extension");
    const Snapshot before = TakeSnapshot(sim.routes());

    // After the run each folder is moved out and linked back, so that the run's files there still
    // hold the recorded sizes and hashes.
    struct Case {
        fs::path folder;
        std::vector<fs::path> named;
        bool envfilesLost;
    };
    const std::vector<fs::path> skies = {textures / "ZEL_snowsky.ace",
                                         textures / "ZEL_snowskylo.ace"};
    const Case cases[] = {{activities, {activities / copy, activities / "OpenRails" / copy}, false},
                          {activities / "OpenRails", {activities / "OpenRails" / copy}, false},
                          {textures, skies, false},
                          {envfiles, skies, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder.string());
        RunReport report;
        ASSERT_EQ(Run(true, &report), RunOutcome::Installed);
        const fs::path moved = outside / c.folder.filename();
        fs::create_directories(outside);
        fs::rename(c.folder, moved);
        if (!MakeFolderLink(moved, c.folder)) GTEST_SKIP() << "no links here";
        WriteFile(moved / ".zel-1.tmp", "named like our leftovers");
        const Snapshot there = TakeSnapshot(outside);

        const RestoreOutcome outcome = RestoreFog(report.record);
        EXPECT_EQ(TakeSnapshot(outside), there);
        std::vector<std::string> named = outcome.keptAdded;
        named.insert(named.end(), outcome.keptTextures.begin(), outcome.keptTextures.end());
        std::vector<std::string> expected;
        for (const fs::path& path : c.named) expected.push_back(path.string());
        EXPECT_EQ(named, expected);
        EXPECT_EQ(outcome.lost, c.envfilesLost ? std::vector<std::string>{"rain.env"}
                                               : std::vector<std::string>{});

        // The player makes it a real folder again and deletes what was left.
        for (const fs::path& path : c.named) fs::remove(path);
        fs::remove(moved / ".zel-1.tmp");
        fs::remove(c.folder);
        fs::rename(moved, c.folder);
        if (const auto left = LoadRunRecord()) {
            EXPECT_TRUE(RestoreFog(*left).Complete());
        }
        EXPECT_EQ(TakeSnapshot(sim.routes()), before);
    }

    // The run adds nothing through a linked Textures or OpenRails folder...
    for (const fs::path& folder : {textures, activities / "OpenRails"}) {
        fs::rename(folder, outside / folder.filename());
        ASSERT_TRUE(MakeFolderLink(outside / folder.filename(), folder));
    }
    const Snapshot there = TakeSnapshot(outside);
    RunReport report;
    ASSERT_EQ(Run(true, &report), RunOutcome::Installed);
    EXPECT_EQ(TakeSnapshot(outside), there);
    EXPECT_TRUE(report.record.textures.empty());
    ASSERT_EQ(report.record.added.size(), 2u);
    EXPECT_EQ(report.record.added[0].path, "Activities/" + copy);
    EXPECT_TRUE(RestoreFog(report.record).Complete());

    // ...and touches nothing at all behind a linked Envfiles folder.
    fs::rename(envfiles, outside / "Envfiles");
    ASSERT_TRUE(MakeFolderLink(outside / "Envfiles", envfiles));
    const Snapshot all = TakeSnapshot(sim.root());
    EXPECT_EQ(Run(true), RunOutcome::LinkedFolder);
    EXPECT_EQ(TakeSnapshot(sim.root()), all);
    EXPECT_FALSE(RunRecordPresent());
}

// A route of 10,000 activities with their extension files: the record of its 20,001 files fits
// the reader, reads back as written, and in one pass (a lookup of each key from the top of the
// record took minutes).
TEST_F(OpenRailsRunTest, RecordOfTwentyThousandFilesReadsBackAtOnce) {
    RunRecord record{"R",   sim.root().string(), Weather::Rain,      50,
                     false, {"rain.env"},        {"ZEL_snowsky.ace"}};
    for (int i = 0; i < 10000; ++i) {
        const std::string copy =
            "Morning freight to the harbour " + std::to_string(i) + "_ZEL_mist_rain_50m.act";
        record.added.push_back({"Activities/" + copy, 3000u + i, ContentHash(copy)});
        record.added.push_back({"Activities/OpenRails/" + copy, 200u + i, ContentHash("x" + copy)});
    }
    record.added.push_back({"WeatherFiles/ZEL_Nevora_rain_50m.weather-or", 220, ContentHash("w")});
    record.addedFolders = {"WeatherFiles"};
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(SaveRunRecord(record));  // written and read back
    EXPECT_EQ(LoadRunRecord(), record);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}
