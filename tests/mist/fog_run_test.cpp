#include "mist/fog_run.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/mist_fixtures.h"

using namespace mist;
using namespace testsupport;
using Names = std::vector<std::string>;

class FogRunTest : public ::testing::Test {
  protected:
    ProgramFolder program;
    SimulatorTree sim;
    void SetUp() override { WriteFogData(program); }
    fs::path Env(const std::string& name, const std::string& route = "R") {
        return sim.envfiles(route) / name;
    }
    std::string Fog(const std::string& name) {
        return ReadFile(program.dump() / name.substr(0, name.find_first_of("0123456789")) / name);
    }
    fs::path Backup(const std::string& name, const std::string& route = "R") {
        return program.dump() / "Back_up" / route / name;
    }
    RunOutcome Run(Weather weather, int metres = 75, const std::string& route = "R") {
        return RunFog(FogRequest(sim, route, weather, metres));
    }
    RestoreOutcome Restore() {
        auto record = LoadRunRecord();
        EXPECT_TRUE(record);
        return record ? RestoreFog(*record) : RestoreOutcome{};
    }
};

TEST_F(FogRunTest, SnowRunBacksUpAddsTexturesInstallsAndRestores) {
    sim.AddEnvFile("R", "snow.env");
    sim.AddEnvFile("R", "a_snow.env");
    sim.AddTexturesFolder("R");
    const Snapshot before = TakeSnapshot(sim.routes());

    ASSERT_EQ(Run(Weather::Snow), RunOutcome::Installed);
    EXPECT_EQ(ReadFile(Backup("snow.env")), before.at("R/Envfiles/snow.env"));
    EXPECT_EQ(ReadFile(Env("snow.env")), Fog("snow75.env"));
    EXPECT_EQ(ReadFile(Env("a_snow.env")), before.at("R/Envfiles/a_snow.env"));
    EXPECT_EQ(ReadFile(Env("Textures/ZEL_rainsky.ace")), "sky ZEL_rainsky.ace\n");
    EXPECT_EQ(ReadFile(Env("Textures/ZEL_rainskylo.ace")), "sky ZEL_rainskylo.ace\n");
    const auto record = LoadRunRecord();
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, (RunRecord{"R",
                                  sim.root().string(),
                                  Weather::Snow,
                                  75,
                                  false,
                                  {"snow.env"},
                                  {"ZEL_rainsky.ace", "ZEL_rainskylo.ace"}}));

    EXPECT_TRUE(RestoreFog(*record).Complete());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
    EXPECT_FALSE(fs::exists(RunRecordPath()));
    EXPECT_TRUE(fs::exists(Backup("snow.env")));  // backups are kept
}

TEST_F(FogRunTest, MultiFileSunRunReplacesEverySlotAndAddsNoTexture) {
    for (const char* name : {"a_clear.env", "b_clear.env", "c_clear.env"})
        sim.AddEnvFile("R", name);
    sim.AddTexturesFolder("R");
    const Snapshot before = TakeSnapshot(sim.routes());
    ASSERT_EQ(Run(Weather::Sun, 125), RunOutcome::Installed);
    for (const char* name : {"a_clear.env", "b_clear.env", "c_clear.env"}) {
        EXPECT_EQ(ReadFile(Env(name)), Fog("sun125.env"));
    }
    EXPECT_TRUE(fs::is_empty(Env("Textures")));
    EXPECT_TRUE(Restore().Complete());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
}

TEST_F(FogRunTest, TextureThatWasThereBeforeStaysAfterRestore) {
    sim.AddEnvFile("R", "rain.env");
    WriteFile(Env("Textures/zel_snowsky.ace"), "the route's own sky");
    const Snapshot before = TakeSnapshot(sim.routes());
    ASSERT_EQ(Run(Weather::Rain), RunOutcome::Installed);
    EXPECT_EQ(ReadFile(Env("Textures/zel_snowsky.ace")), "the route's own sky");
    EXPECT_EQ(LoadRunRecord()->textures, Names{"ZEL_snowskylo.ace"});
    EXPECT_TRUE(Restore().Complete());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
}

TEST_F(FogRunTest, FailedBackupLeavesTheRouteUntouched) {
    sim.AddEnvFile("R", "rain.env");
    sim.AddTexturesFolder("R");
    const Snapshot before = TakeSnapshot(sim.routes());
    const fs::path backups = program.dump() / "Back_up";
    for (int variant = 0; variant < 2; ++variant) {
        fs::remove_all(backups);
        if (variant == 1) WriteFile(backups, "a file where the folder should be");
        EXPECT_EQ(Run(Weather::Rain), RunOutcome::BackupFailed) << variant;
        EXPECT_EQ(TakeSnapshot(sim.routes()), before) << variant;
        EXPECT_FALSE(fs::exists(RunRecordPath())) << variant;
    }
}

TEST_F(FogRunTest, NamesTheBackupFolderConfusesAreRefused) {
    // Only one of two case twins can live in a Windows-like backup folder.
    sim.AddEnvFile("R", "a_rain.env");
    sim.AddEnvFile("R", "A_RAIN.env");
    const Snapshot before = TakeSnapshot(sim.routes());
    if (before.size() < 4) GTEST_SKIP() << "this file system holds no case twins (Windows)";
    EXPECT_EQ(Run(Weather::Rain), RunOutcome::BackupFailed);
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
}

TEST_F(FogRunTest, NameTheRecordCannotHoldIsRefused) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows file names cannot hold a line break";
#endif
    sim.AddEnvFile("R", "x\nrain.env");
    const Snapshot before = TakeSnapshot(sim.routes());
    EXPECT_EQ(Run(Weather::Rain), RunOutcome::BackupFailed);
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
    EXPECT_FALSE(fs::exists(RunRecordPath()));
}

TEST_F(FogRunTest, RefusedRunsTouchNothing) {
    // ".." would make the route folder <TS> and the backup folder Dump itself.
    WriteFile(sim.root() / "Envfiles" / "rain.env", "outside the routes");
    sim.AddEnvFile("R", "snow.env");
    const Snapshot tree = TakeSnapshot(sim.root()), dump = TakeSnapshot(program.dump());
    FogRunRequest escape = FogRequest(sim, "R", Weather::Rain, 75);
    escape.route = "..";
    escape.found.names[0] = "rain.env";
    EXPECT_EQ(RunFog(escape), RunOutcome::BadRouteName);
    EXPECT_EQ(Run(Weather::Rain), RunOutcome::NothingFound);
    EXPECT_EQ(TakeSnapshot(sim.root()), tree);
    EXPECT_EQ(TakeSnapshot(program.dump()), dump);  // no backup folder made
}

TEST_F(FogRunTest, UnrestoredRunKeepsItsBackups) {
    sim.AddEnvFile("R", "rain.env");
    sim.AddEnvFile("S", "rain.env");
    const Snapshot before = TakeSnapshot(sim.routes());
    ASSERT_EQ(Run(Weather::Rain), RunOutcome::Installed);
    EXPECT_EQ(Run(Weather::Rain), RunOutcome::UnrestoredRun);
    EXPECT_EQ(Run(Weather::Rain, 25, "S"), RunOutcome::UnrestoredRun);
    EXPECT_EQ(ReadFile(Backup("rain.env")), before.at("R/Envfiles/rain.env"));
    EXPECT_TRUE(Restore().Complete());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);

    WriteFile(program.dump() / "Herstel.ini", "damaged");  // not a record: no lock-out
    EXPECT_EQ(Run(Weather::Rain, 25, "S"), RunOutcome::Installed);
}

TEST_F(FogRunTest, SecondRunAfterRestoreBacksUpTheFilesThenInPlace) {
    sim.AddEnvFile("R", "snow.env");
    ASSERT_EQ(Run(Weather::Snow), RunOutcome::Installed);
    ASSERT_TRUE(Restore().Complete());
    WriteFile(Env("snow.env"), "edited by the user");
    WriteFile(Backup("old.env"), "from long ago");
    ASSERT_EQ(Run(Weather::Snow, 25), RunOutcome::Installed);
    EXPECT_EQ(ReadFile(Backup("snow.env")), "edited by the user");
    EXPECT_EQ(ReadFile(Env("snow.env")), Fog("snow25.env"));
    EXPECT_TRUE(Restore().Complete());
    EXPECT_EQ(ReadFile(Env("snow.env")), "edited by the user");
    EXPECT_EQ(ReadFile(Backup("old.env")), "from long ago");
}

TEST_F(FogRunTest, ReadOnlyRouteFileKeepsItsBytes) {
    sim.AddEnvFile("R", "rain.env");
    platform::SetReadOnly(Env("rain.env").string(), true);
    const Snapshot before = TakeSnapshot(sim.routes());
    ASSERT_EQ(Run(Weather::Rain), RunOutcome::Installed);
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
    EXPECT_TRUE(Restore().Complete());
    EXPECT_FALSE(fs::exists(RunRecordPath()));
    ASSERT_EQ(Run(Weather::Rain), RunOutcome::Installed);  // a read-only backup is no obstacle
}

TEST_F(FogRunTest, FileThatCannotBePutBackNowIsRetried) {
    sim.AddEnvFile("R", "a_rain.env");
    sim.AddEnvFile("R", "b_rain.env");
    sim.AddTexturesFolder("R");
    const Snapshot before = TakeSnapshot(sim.routes());
    ASSERT_EQ(Run(Weather::Rain), RunOutcome::Installed);
    platform::SetReadOnly(Env("b_rain.env").string(), true);
    const RestoreOutcome first = Restore();
    EXPECT_EQ(first.retry, Names{"b_rain.env"});
    EXPECT_TRUE(first.lost.empty());
    EXPECT_EQ(LoadRunRecord()->files, Names{"b_rain.env"});
    EXPECT_TRUE(LoadRunRecord()->textures.empty());
    platform::SetReadOnly(Env("b_rain.env").string(), false);
    EXPECT_TRUE(Restore().Complete());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
}

TEST_F(FogRunTest, FilesThatCanNeverBePutBackAreReportedAndReleased) {
    sim.AddEnvFile("R", "a_rain.env");
    sim.AddEnvFile("R", "b_rain.env");
    sim.AddEnvFile("S", "snow.env");
    ASSERT_EQ(Run(Weather::Rain), RunOutcome::Installed);
    fs::remove(Backup("a_rain.env"));
    const RestoreOutcome missing = Restore();
    EXPECT_EQ(missing.lost, Names{"a_rain.env"});
    EXPECT_TRUE(missing.retry.empty());
    EXPECT_EQ(ReadFile(Env("b_rain.env")), ReadFile(Backup("b_rain.env")));
    EXPECT_FALSE(fs::exists(RunRecordPath()));

    ASSERT_EQ(Run(Weather::Snow, 50, "S"), RunOutcome::Installed);
    fs::remove_all(sim.routes() / "S");
    EXPECT_EQ(Restore().lost, Names{"snow.env"});
    EXPECT_FALSE(fs::exists(RunRecordPath()));
    EXPECT_FALSE(fs::exists(sim.routes() / "S"));  // a removed route is not brought back
    // Stale discovery for the removed route: nothing to back up, so nothing happens.
    EXPECT_EQ(RunFog({sim.root().string(), "S", Weather::Snow, 50, {{"snow.env"}, false, false}}),
              RunOutcome::BackupFailed);
    EXPECT_FALSE(fs::exists(sim.routes() / "S"));
}
