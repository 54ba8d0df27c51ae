#include "core/fog/fog_run.h"

#include <gtest/gtest.h>

#include "core/fog/restore.h"
#include "core/fog/run_record.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "support/fog_fixtures.h"

using namespace fog;
using namespace testsupport;
using Names = std::vector<std::string>;

class FogRunTest : public ::testing::Test {
  protected:
    ProgramFolder program;
    SimulatorTree sim;
    void SetUp() override {
        WriteFogData(program);
        program.WriteSettings(SettingsText("Nederlands", sim.root().string()));
    }
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
    if constexpr (platform::kWindows) GTEST_SKIP() << "Windows file names cannot hold a line break";
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

    // A damaged record is no absent one: it waits until it has been set aside.
    WriteFile(program.dump() / "Herstel.ini", "damaged");
    EXPECT_EQ(Run(Weather::Rain, 25, "S"), RunOutcome::UnrestoredRun);
    ASSERT_TRUE(SetAsideRefusedRunRecord());
    EXPECT_EQ(Run(Weather::Rain, 25, "S"), RunOutcome::Installed);
}

// A record that cannot be read (too large, or no file at all) could hide a run whose fog is still
// in the route: it is set aside like a refused one, and the fog is never backed up as the route's
// own file.
TEST_F(FogRunTest, UnreadableRecordNeverLetsFogReplaceTheBackup) {
    sim.AddEnvFile("R", "rain.env");
    const std::string original = ReadFile(Env("rain.env"));
    enum Variant { Oversized, Folder, Fifo, DanglingLink };
    for (const Variant variant : {Oversized, Folder, Fifo, DanglingLink}) {
        SCOPED_TRACE(variant);
        ASSERT_EQ(Run(Weather::Rain), RunOutcome::Installed);
        const fs::path record = RunRecordPath();
        bool made = true;
        if (variant == Oversized) {
            WriteFile(record, ReadFile(record) + std::string(platform::kMaxDataFileSize, ';'));
        } else {
            fs::remove(record);
            std::error_code ec;
            if (variant == Folder) fs::create_directory(record);
            if (variant == Fifo) made = MakeFifo(record);
            if (variant == DanglingLink) fs::create_symlink(sim.root() / "gone", record, ec);
            made = made && !ec;
        }
        if (made) {
            EXPECT_FALSE(LoadRunRecord());
            EXPECT_EQ(Run(Weather::Rain), RunOutcome::UnrestoredRun);
            ASSERT_TRUE(SetAsideRefusedRunRecord());
            EXPECT_FALSE(RunRecordPresent());
            RunReport report;
            EXPECT_EQ(RunFog(FogRequest(sim, "R", Weather::Rain, 25), {}, &report),
                      RunOutcome::AlreadyFogged);
            EXPECT_EQ(report.fogged, Names{"rain.env"});
            EXPECT_EQ(ReadFile(Backup("rain.env")), original);
            EXPECT_EQ(ReadFile(Env("rain.env")), Fog("rain75.env"));
        }
        WriteFile(Env("rain.env"), original);  // the player copies the backup back by hand
        for (const auto& entry : fs::directory_iterator(program.dump()))
            if (entry.path().filename().string().starts_with("Herstel")) fs::remove_all(entry);
    }
}

// Another program folder (its own Dump and records) on the same simulator finds the fog of the
// first and leaves the route alone, so restoring both in any order ends with the original.
TEST_F(FogRunTest, RouteHoldingFogAlreadyIsRefused) {
    sim.AddEnvFile("R", "a_snow.env");
    sim.AddEnvFile("R", "b_snow.env");
    sim.AddTexturesFolder("R");
    const Snapshot before = TakeSnapshot(sim.routes());
    ASSERT_EQ(Run(Weather::Snow, 50), RunOutcome::Installed);
    const Snapshot fogged = TakeSnapshot(sim.routes());
    {
        ProgramFolder other;
        WriteFogData(other);
        other.WriteSettings(SettingsText("Nederlands", sim.root().string()));
        for (const Weather weather : {Weather::Sun, Weather::Snow}) {
            sim.AddEnvFile("R", "clear.env", ReadFile(program.dump() / "sun" / "sun100.env"));
            RunReport report;
            EXPECT_EQ(RunFog(FogRequest(sim, "R", weather, 25), {}, &report),
                      RunOutcome::AlreadyFogged);
            const Names fogged =
                weather == Weather::Sun ? Names{"clear.env"} : Names{"a_snow.env", "b_snow.env"};
            EXPECT_EQ(report.fogged, fogged);
            fs::remove(Env("clear.env"));
        }
        EXPECT_EQ(TakeSnapshot(sim.routes()), fogged);
        EXPECT_FALSE(fs::exists(other.dump() / "Back_up" / "R"));
        EXPECT_FALSE(fs::exists(other.dump() / "Herstel.ini"));
    }
    platform::SetProgramFolder(program.root().string());
    EXPECT_TRUE(Restore().Complete());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
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
    ASSERT_EQ(Run(Weather::Rain), RunOutcome::InstallFailed);
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
    EXPECT_FALSE(fs::exists(RunRecordPath()));
    platform::SetReadOnly(Env("rain.env").string(), false);
    platform::SetReadOnly(Backup("rain.env").string(), true);
    ASSERT_EQ(Run(Weather::Rain), RunOutcome::Installed);  // a read-only backup is no obstacle
}

// Whatever keeps a route file from taking the fog file, what did take it is put back, the added
// textures go and no run is recorded.
TEST_F(FogRunTest, RunThatCannotReplaceEveryFileIsUndone) {
    enum Cause { ReadOnlyFile, ImmutableFolder, FullDisk, NoFogFile };
    for (const Cause cause : {ReadOnlyFile, ImmutableFolder, FullDisk, NoFogFile}) {
        SCOPED_TRACE(cause);
        const std::string route = "R" + std::to_string(cause);
        const fs::path envfiles = sim.envfiles(route);
        fs::create_directories(envfiles);
        Names expected{"a_rain.env", "b_rain.env"};
        // A small file system of its own, filled up once the route's files are in.
        const bool mounted = cause == FullDisk && MountSmallFileSystem(envfiles);
        if (cause == FullDisk && !mounted) continue;  // needs the right to mount
        sim.AddEnvFile(route, "a_rain.env");
        sim.AddEnvFile(route, "b_rain.env");
        sim.AddTexturesFolder(route);
        if (cause == ReadOnlyFile) {
            platform::SetReadOnly(Env("b_rain.env", route).string(), true);
            expected = {"b_rain.env"};
        }
        if (mounted) WriteFile(envfiles / "filler", std::string(1 << 20, 'x'));
        const Snapshot before = TakeSnapshot(sim.routes() / route);
        if (cause == ImmutableFolder && !SetImmutable(envfiles, true)) continue;
        if (cause == NoFogFile) fs::remove(program.dump() / "rain" / "rain75.env");

        RunReport report;
        EXPECT_EQ(RunFog(FogRequest(sim, route, Weather::Rain, 75), {}, &report),
                  RunOutcome::InstallFailed);
        EXPECT_EQ(report.notInstalled, expected);
        EXPECT_TRUE(report.undo.Complete());
        EXPECT_EQ(report.missingFogFile.has_value(), cause == NoFogFile);
        EXPECT_EQ(TakeSnapshot(sim.routes() / route), before);
        EXPECT_FALSE(fs::exists(RunRecordPath()));
        if (cause == ImmutableFolder) SetImmutable(envfiles, false);
        if (mounted) Unmount(envfiles);
    }
    EXPECT_FALSE(fs::exists(Backup("a_rain.env", "R3")));  // no fog file: nothing was touched
}

TEST_F(FogRunTest, FogThatCannotBeTakenOutAgainStaysRecorded) {
    sim.AddEnvFile("R", "a_rain.env");
    sim.AddEnvFile("R", "b_rain.env");
    const Snapshot before = TakeSnapshot(sim.routes());
    // b_rain.env refuses the fog; a_rain.env takes it and then refuses to give it back.
    const StepHook hook = [&](Step step, std::size_t index) {
        if (step == Step::RecordWritten) platform::SetReadOnly(Env("b_rain.env").string(), true);
        if (step == Step::Installed && index == 0)
            platform::SetReadOnly(Env("a_rain.env").string(), true);
    };
    RunReport report;
    EXPECT_EQ(RunFog(FogRequest(sim, "R", Weather::Rain, 75), hook, &report),
              RunOutcome::InstallFailed);
    EXPECT_EQ(report.notInstalled, Names{"b_rain.env"});
    EXPECT_EQ(report.undo.retry, Names{"a_rain.env"});
    EXPECT_EQ(LoadRunRecord()->files, Names{"a_rain.env"});
    platform::SetReadOnly(Env("a_rain.env").string(), false);
    EXPECT_TRUE(Restore().Complete());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
}

TEST_F(FogRunTest, RecordNamingAnythingButTheRunsOwnFilesIsRefusedAndSetAside) {
    const std::string sound = "[Herstel]\r\nRoute=R\r\nPad=" + sim.root().string() +
                              "\r\nWeer=rain\r\nZicht=75\r\nMeerdere=0\r\n";
    const std::string files = "Bestand1=rain.env\r\nTextuur1=ZEL_snowsky.ace\r\n";
    WriteFile(RunRecordPath(), sound + files);
    ASSERT_TRUE(LoadRunRecord());
    EXPECT_FALSE(SetAsideRefusedRunRecord());  // a sound record stays
    // The same folder under another spelling of its path is that folder.
    WriteFile(RunRecordPath(), "[Herstel]\r\nRoute=R\r\nPad=" + sim.root().string() +
                                   "/Routes/..\r\nWeer=rain\r\n" + files);
    EXPECT_TRUE(LoadRunRecord());
    const SimulatorTree other;
    const std::string crafted[] = {
        sound + "Bestand1=../../../train.exe\r\n",
        sound + "Bestand1=..\\rain.env\r\n",
        sound + "Bestand1=train.exe\r\n",  // not an environment file of rain
        sound + files + "Textuur2=../../../victim\r\n",
        sound + files + "Textuur2=ZEL_rainsky.ace\r\n",  // snow's texture
        "[Herstel]\r\nRoute=..\r\nWeer=rain\r\nBestand1=rain.env\r\n",
        "damaged",
        // Only the configured simulator folder: not another tree, not a relative path.
        "[Herstel]\r\nRoute=R\r\nPad=" + other.root().string() + "\r\nWeer=rain\r\n" + files,
        "[Herstel]\r\nRoute=R\r\nPad=.\r\nWeer=rain\r\n" + files,
        "[Herstel]\r\nRoute=R\r\nWeer=rain\r\n" + files,
    };
    std::vector<std::string> asides;
    for (const std::string& record : crafted) {
        SCOPED_TRACE(record);
        WriteFile(RunRecordPath(), record);
        EXPECT_FALSE(LoadRunRecord());
        const auto aside = SetAsideRefusedRunRecord();
        ASSERT_TRUE(aside);
        asides.push_back(*aside);
        EXPECT_FALSE(fs::exists(RunRecordPath()));
    }
    // Each kept under a name of its own, none overwritten.
    for (std::size_t i = 0; i < asides.size(); ++i) {
        const std::string name =
            i == 0 ? "Herstel_ongeldig.ini" : "Herstel_ongeldig_" + std::to_string(i + 1) + ".ini";
        EXPECT_EQ(asides[i], platform::DumpPath(name));
        EXPECT_EQ(ReadFile(asides[i]), crafted[i]);
    }
    EXPECT_FALSE(SetAsideRefusedRunRecord());  // none left
}

TEST_F(FogRunTest, BackupFolderThatIsNotTheProgramsOwnIsRefused) {
    sim.AddEnvFile("R", "rain.env");
    const fs::path elsewhere = sim.root() / "elsewhere";
    WriteFile(elsewhere / "rain.env", "someone else's");
    WriteFile(elsewhere / ".zel-1.tmp", "someone else's, named like our leftovers");
    const Snapshot before = TakeSnapshot(sim.root());
    const fs::path backups = program.dump() / "Back_up";
    enum Variant { LinkToEnvfiles, LinkElsewhere, ParentLinkToRoutes, HardLinkedBackup };
    for (const Variant variant :
         {LinkToEnvfiles, LinkElsewhere, ParentLinkToRoutes, HardLinkedBackup}) {
        SCOPED_TRACE(variant);
        fs::remove_all(backups);  // a link itself, not what it leads to
        bool made = true;
        switch (variant) {
            case LinkToEnvfiles:
                fs::create_directory(backups);
                made = MakeFolderLink(sim.envfiles("R"), backups / "R");
                break;
            case LinkElsewhere:
                fs::create_directory(backups);
                made = MakeFolderLink(elsewhere, backups / "R");
                break;
            case ParentLinkToRoutes:  // Back_up/R is then the route's own folder
                made = MakeFolderLink(sim.routes(), backups);
                break;
            case HardLinkedBackup: {
                fs::create_directories(backups / "R");
                std::error_code ec;
                fs::create_hard_link(Env("rain.env"), backups / "R" / "rain.env", ec);
                made = !ec;
                break;
            }
        }
        if (!made) continue;
        EXPECT_EQ(Run(Weather::Rain), RunOutcome::BackupFailed);
        EXPECT_EQ(TakeSnapshot(sim.root()), before);
        EXPECT_FALSE(fs::exists(RunRecordPath()));
    }
}

TEST_F(FogRunTest, RouteFolderThatIsALinkWorksAsAnyOther) {
    // Players move big routes to another drive and link them back.
    const fs::path moved = sim.root() / "other drive" / "R";
    WriteFile(moved / "Envfiles" / "rain.env", "moved route");
    if (!MakeFolderLink(moved, sim.routes() / "R")) GTEST_SKIP() << "no links here";
    const Snapshot before = TakeSnapshot(moved);
    ASSERT_EQ(Run(Weather::Rain), RunOutcome::Installed);
    EXPECT_EQ(ReadFile(moved / "Envfiles" / "rain.env"), Fog("rain75.env"));
    EXPECT_TRUE(Restore().Complete());
    EXPECT_EQ(TakeSnapshot(moved), before);
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

// A file whose backup or route folder is gone is reported, and the run stays recorded until it is
// back: a later start offers the restore again once the player has put the backup back.
TEST_F(FogRunTest, FilesThatCannotBePutBackStayRecordedUntilTheyAre) {
    sim.AddEnvFile("R", "a_rain.env");
    sim.AddEnvFile("R", "b_rain.env");
    sim.AddEnvFile("S", "snow.env");
    const Snapshot before = TakeSnapshot(sim.routes());
    ASSERT_EQ(Run(Weather::Rain), RunOutcome::Installed);
    const std::string backup = ReadFile(Backup("a_rain.env"));
    fs::remove(Backup("a_rain.env"));
    const RestoreOutcome missing = Restore();
    EXPECT_EQ(missing.lost, Names{"a_rain.env"});
    EXPECT_TRUE(missing.retry.empty());
    EXPECT_EQ(ReadFile(Env("b_rain.env")), ReadFile(Backup("b_rain.env")));
    EXPECT_EQ(LoadRunRecord()->files, Names{"a_rain.env"});
    EXPECT_EQ(Run(Weather::Snow, 50, "S"), RunOutcome::UnrestoredRun);
    WriteFile(Backup("a_rain.env"), backup);
    EXPECT_TRUE(Restore().Complete());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
    EXPECT_FALSE(RunRecordPresent());

    ASSERT_EQ(Run(Weather::Snow, 50, "S"), RunOutcome::Installed);
    const fs::path moved = sim.root() / "moved S";
    fs::rename(sim.routes() / "S", moved);
    EXPECT_EQ(Restore().lost, Names{"snow.env"});
    EXPECT_FALSE(fs::exists(sim.routes() / "S"));  // a removed route is not brought back
    EXPECT_EQ(LoadRunRecord()->files, Names{"snow.env"});
    fs::rename(moved, sim.routes() / "S");
    EXPECT_TRUE(Restore().Complete());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
}

// Only what the run copied in goes: an added texture that changed since is left and named.
TEST_F(FogRunTest, AddedTextureThatChangedIsLeftAndNamed) {
    sim.AddEnvFile("R", "rain.env");
    sim.AddTexturesFolder("R");
    ASSERT_EQ(Run(Weather::Rain), RunOutcome::Installed);
    WriteFile(Env("Textures/ZEL_snowsky.ace"), "the player's own sky now");
    const RestoreOutcome outcome = Restore();
    EXPECT_EQ(outcome.keptTextures, Names{(Env("Textures") / "ZEL_snowsky.ace").string()});
    EXPECT_TRUE(outcome.lost.empty() && outcome.retry.empty());
    EXPECT_EQ(ReadFile(Env("Textures/ZEL_snowsky.ace")), "the player's own sky now");
    EXPECT_FALSE(fs::exists(Env("Textures/ZEL_snowskylo.ace")));
    EXPECT_FALSE(RunRecordPresent());
}

// A route file that is a link gets its link back; what it points to is never written.
TEST_F(FogRunTest, RouteFileThatIsALinkComesBackAsThatLink) {
    const fs::path shared = sim.root() / "shared" / "rain.env";
    WriteFile(shared, "shared by several routes");
    fs::create_directories(sim.envfiles("R"));
    std::error_code ec;
    fs::create_symlink("../../../shared/rain.env", Env("rain.env"), ec);
    if (ec) GTEST_SKIP() << "no links here";
    ASSERT_EQ(Run(Weather::Rain), RunOutcome::Installed);
    EXPECT_EQ(ReadFile(Env("rain.env")), Fog("rain75.env"));
    EXPECT_EQ(ReadFile(shared), "shared by several routes");
    EXPECT_EQ(ReadFile(Backup("rain.env")), "shared by several routes");
    EXPECT_TRUE(Restore().Complete());
    ASSERT_TRUE(fs::is_symlink(Env("rain.env")));
    EXPECT_EQ(fs::read_symlink(Env("rain.env")), "../../../shared/rain.env");
    EXPECT_EQ(ReadFile(shared), "shared by several routes");
}

// A link has no backup: it comes back only in place of the run's own fog file, never over
// anything else, and a record whose link belongs to none of its files is refused.
TEST_F(FogRunTest, LinkComesBackOnlyInPlaceOfTheRunsFogFile) {
    if constexpr (platform::kWindows) GTEST_SKIP() << "a run records no link on Windows";
    const std::string head = "[Herstel]\r\nRoute=R\r\nPad=" + sim.root().string() +
                             "\r\nWeer=rain\r\nZicht=75\r\nMeerdere=1\r\n";
    const std::string record = head + "Bestand1=springrain.env\r\nKoppeling1=/anywhere\r\n";
    enum Found { Original, OtherLevel, LinkToTheFogFile, Nothing, RunsFogFile };
    for (const Found found : {Original, OtherLevel, LinkToTheFogFile, Nothing, RunsFogFile}) {
        SCOPED_TRACE(found);
        fs::remove(Env("springrain.env"));
        if (found == Original) sim.AddEnvFile("R", "springrain.env", "the route's own");
        if (found == OtherLevel) sim.AddEnvFile("R", "springrain.env", Fog("rain25.env"));
        if (found == RunsFogFile) sim.AddEnvFile("R", "springrain.env", Fog("rain75.env"));
        if (found == LinkToTheFogFile)
            fs::create_symlink(program.dump() / "rain" / "rain75.env", Env("springrain.env"));
        WriteFile(RunRecordPath(), record);
        const Snapshot before = TakeSnapshot(sim.routes());
        const RestoreOutcome outcome = Restore();
        EXPECT_FALSE(RunRecordPresent());  // nothing is left that could ever be put back
        if (found == RunsFogFile) {
            EXPECT_TRUE(outcome.Complete());
            EXPECT_EQ(fs::read_symlink(Env("springrain.env")), "/anywhere");
        } else {
            EXPECT_EQ(outcome.keptFiles, Names{"springrain.env"});
            EXPECT_EQ(TakeSnapshot(sim.routes()), before);
        }
    }
    WriteFile(RunRecordPath(), head + "Bestand1=springrain.env\r\nKoppeling2=/anywhere\r\n");
    EXPECT_FALSE(LoadRunRecord());
    EXPECT_TRUE(SetAsideRefusedRunRecord());
}
