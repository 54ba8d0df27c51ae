#include "mist/fog_run.h"

#include <gtest/gtest.h>

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>
#endif

#include "platform/files.h"
#include "platform/paths.h"
#include "support/mist_fixtures.h"

using namespace mist;
using namespace testsupport;
using Names = std::vector<std::string>;

namespace {

#ifdef __linux__
// chattr +i / -i: nothing in the folder can change, not even for root.
bool SetImmutable(const fs::path& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return ok;
}
#endif

// Links are made where the system lets us; false where it does not (Windows without the right).
bool MakeLink(const fs::path& target, const fs::path& link) {
    std::error_code ec;
    fs::create_directory_symlink(target, link, ec);
    return !ec;
}

}  // namespace

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
        bool mounted = false;
#ifdef __linux__
        // A small file system of its own, filled up once the route's files are in.
        mounted =
            cause == FullDisk && ::mount("tmpfs", envfiles.c_str(), "tmpfs", 0, "size=64k") == 0;
#endif
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
#ifdef __linux__
        if (cause == ImmutableFolder && !SetImmutable(envfiles, true)) continue;
#else
        if (cause == ImmutableFolder) continue;
#endif
        if (cause == NoFogFile) fs::remove(program.dump() / "rain" / "rain75.env");

        RunReport report;
        EXPECT_EQ(RunFog(FogRequest(sim, route, Weather::Rain, 75), {}, &report),
                  RunOutcome::InstallFailed);
        EXPECT_EQ(report.notInstalled, expected);
        EXPECT_TRUE(report.undo.Complete());
        EXPECT_EQ(report.missingFogFile.has_value(), cause == NoFogFile);
        EXPECT_EQ(TakeSnapshot(sim.routes() / route), before);
        EXPECT_FALSE(fs::exists(RunRecordPath()));
#ifdef __linux__
        if (cause == ImmutableFolder) SetImmutable(envfiles, false);
        if (mounted) ::umount2(envfiles.c_str(), MNT_DETACH);
#endif
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
    const std::string crafted[] = {
        sound + "Bestand1=../../../train.exe\r\n",
        sound + "Bestand1=..\\rain.env\r\n",
        sound + "Bestand1=train.exe\r\n",  // not an environment file of rain
        sound + files + "Textuur2=../../../victim\r\n",
        sound + files + "Textuur2=ZEL_rainsky.ace\r\n",  // snow's texture
        "[Herstel]\r\nRoute=..\r\nWeer=rain\r\nBestand1=rain.env\r\n",
        "damaged",
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
                made = MakeLink(sim.envfiles("R"), backups / "R");
                break;
            case LinkElsewhere:
                fs::create_directory(backups);
                made = MakeLink(elsewhere, backups / "R");
                break;
            case ParentLinkToRoutes:  // Back_up/R is then the route's own folder
                made = MakeLink(sim.routes(), backups);
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
    if (!MakeLink(moved, sim.routes() / "R")) GTEST_SKIP() << "no links here";
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
