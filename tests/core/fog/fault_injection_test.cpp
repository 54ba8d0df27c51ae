// A fog run and its restore killed at every step, then finished by a fresh start of the logic on
// the same folders: the route must end up byte for byte as it was.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/fog/fog_run.h"
#include "core/fog/restore.h"
#include "core/fog/run_record.h"
#include "support/fog_fixtures.h"
#include "support/other_copy.h"

using namespace fog;
using namespace testsupport;

namespace {

struct Scenario {
    const char* name;
    Weather weather;
    std::vector<std::string> files;
    bool ownTexture;         // the route already holds one of the weather's textures
    bool earlierBackups;     // the backup folder holds the first file's bytes and a stale second
    bool linkedFirst;        // the first route file is a link to a file outside the route
    int steps;               // progress reports of a whole run plus restore
    bool openRails = false;  // two activities, one with an extension file, and a weather file
};

// Two activities (one with events and an Open Rails extension file) and no WeatherFiles folder.
void AddActivities(const SimulatorTree& sim) {
    const fs::path activities = sim.routes() / "R" / "ACTIVITIES";
    const std::string header =
        "SIMISA@@@@@@@@@@JINX0a0t______\r\n\r\nTr_Activity (\r\n"
        "\tTr_Activity_Header (\r\n\t\tName ( \"A\" )\r\n\t)\r\n";
    WriteFile(activities / "a.act",
              header +
                  "\tTr_Activity_File (\r\n\t\tEvents (\r\n\t\t\tEventCategoryTime (\r\n"
                  "\t\t\t\tID ( 1 )\r\n\t\t\t)\r\n\t\t)\r\n\t)\r\n)");
    WriteFile(activities / "b.act", header + "\tTr_Activity_File (\r\n\t)\r\n)");
    WriteFile(activities / "OpenRails" / "a.act", "extension");
}

// Runs and restores in a child that kills itself at its `killAt`-th progress report.
// Returns true when the child got that far and died there.
bool KilledAt(const FogRunRequest& request, int killAt) {
    const pid_t child = fork();
    if (child == 0) {
        int seen = 0;
        const StepHook hook = [&](Step, std::size_t) {
            if (++seen == killAt) kill(getpid(), SIGKILL);
        };
        if (RunFog(request, hook) != RunOutcome::Installed) _exit(2);
        const auto record = LoadRunRecord();
        if (!record || !RestoreFog(*record, hook).Complete()) _exit(3);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) return true;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    return false;
}

}  // namespace

TEST(FaultInjection, KilledRunOrRestoreIsUndoneByTheNextStart) {
    // Each file is staged, then in place (backups, then the record; textures and fog files; put
    // back and textures deleted), then the record goes: three files and two textures make
    // 3 + 3 + 1 + 5 + 5 + 3 + 3 + 2 + 1 steps.
    const Scenario scenarios[] = {
        {"rain, three files",
         Weather::Rain,
         {"a_rain.env", "b_rain.env", "c_rain.env"},
         false,
         false,
         false,
         26},
        {"snow, one file, own texture", Weather::Snow, {"snow.env"}, true, false, false, 11},
        {"sun, backups from before",
         Weather::Sun,
         {"a_clear.env", "b_clear.env"},
         false,
         true,
         false,
         14},
        {"sun, a linked file",
         Weather::Sun,
         {"a_clear.env", "b_clear.env"},
         false,
         false,
         true,
         14},
        // Four files for Open Rails: listed in the record, each staged and in place, each deleted.
        {"rain, one file, Open Rails",
         Weather::Rain,
         {"rain.env"},
         false,
         false,
         false,
         14 + 1 + 4 + 4 + 4,
         true},
    };
    for (const Scenario& s : scenarios) {
        int killAt = 1;
        for (;; ++killAt) {
            SCOPED_TRACE(std::string(s.name) + ", killed at step " + std::to_string(killAt));
            ProgramFolder program;
            SimulatorTree sim;
            WriteFogData(program);
            program.WriteSettings(SettingsText("Nederlands", sim.root().string()));
            for (const std::string& file : s.files) sim.AddEnvFile("R", file);
            const fs::path linked = sim.root() / "linked.env";
            if (s.linkedFirst) {
                WriteFile(linked, "outside the route");
                fs::remove(sim.envfiles("R") / s.files[0]);
                fs::create_symlink(linked, sim.envfiles("R") / s.files[0]);
            }
            sim.AddTexturesFolder("R");
            if (s.ownTexture) WriteFile(sim.envfiles("R") / "Textures" / "ZEL_rainsky.ace", "own");
            const fs::path backups = program.dump() / "Back_up" / "R";
            if (s.earlierBackups) {
                WriteFile(backups / s.files[0], ReadFile(sim.envfiles("R") / s.files[0]));
                WriteFile(backups / s.files[1], "an older version");
            }
            if (s.openRails) AddActivities(sim);
            const Snapshot before = TakeSnapshot(sim.routes());

            FogRunRequest request = FogRequest(sim, "R", s.weather, 50);
            request.openRails = s.openRails;
            request.fogWord = "mist";
            const bool killed = KilledAt(request, killAt);
            // The next start clears what a copy cut short left in the backup folder.
            RemoveBackupLeftovers();
            for (const auto& [name, bytes] : TakeSnapshot(backups))
                EXPECT_FALSE(name.starts_with(".zel-")) << name;
            if (const auto record = LoadRunRecord()) {
                EXPECT_TRUE(RestoreFog(*record).Complete());
            }
            EXPECT_FALSE(LoadRunRecord());
            EXPECT_EQ(TakeSnapshot(sim.routes()), before);
            if (s.linkedFirst) {
                EXPECT_EQ(fs::read_symlink(sim.envfiles("R") / s.files[0]), linked);
                EXPECT_EQ(ReadFile(linked), "outside the route");
            }

            // The next run starts clean: nothing of the cut-short one is left in the backups.
            ASSERT_EQ(RunFog(FogRequest(sim, "R", s.weather, 50)), RunOutcome::Installed);
            ASSERT_TRUE(RestoreFog(*LoadRunRecord()).Complete());
            EXPECT_EQ(TakeSnapshot(sim.routes()), before);
            Snapshot expected;
            for (const std::string& file : s.files)
                expected[file] = before.at("R/Envfiles/" + file);
            EXPECT_EQ(TakeSnapshot(backups), expected);
            if (!killed || killAt > 100) break;
        }
        EXPECT_EQ(killAt, s.steps + 1) << s.name;  // every step was a kill point once
    }
}

TEST(TwoCopies, RunAndRestoreWaitForTheOtherCopyEvenAfterItIsKilled) {
    ProgramFolder program;
    SimulatorTree sim;
    WriteFogData(program);
    program.WriteSettings(SettingsText("Nederlands", sim.root().string()));
    sim.AddEnvFile("R", "rain.env");
    sim.AddEnvFile("S", "rain.env");
    sim.AddTexturesFolder("R");
    const Snapshot before = TakeSnapshot(sim.routes());

    // The other copy puts fog into R and keeps running.
    OtherCopy other(
        [&] { return RunFog(FogRequest(sim, "R", Weather::Rain, 50)) == RunOutcome::Installed; });
    ASSERT_TRUE(other.Ready());
    const Snapshot fogged = TakeSnapshot(sim.routes()), dump = TakeSnapshot(program.dump());
    const auto record = LoadRunRecord();
    ASSERT_TRUE(record);
    // This copy neither starts a run of its own nor restores the other one's.
    EXPECT_EQ(RunFog(FogRequest(sim, "S", Weather::Rain, 25)), RunOutcome::InUse);
    const RestoreOutcome refused = RestoreFog(*record);
    EXPECT_EQ(refused.retry, record->files);
    EXPECT_TRUE(refused.lost.empty());
    EXPECT_EQ(TakeSnapshot(sim.routes()), fogged);
    EXPECT_EQ(TakeSnapshot(program.dump()), dump);

    // kill -9 of the other copy does not leave the folder locked.
    other.Kill();
    EXPECT_TRUE(RestoreFog(*LoadRunRecord()).Complete());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
    EXPECT_EQ(RunFog(FogRequest(sim, "S", Weather::Rain, 25)), RunOutcome::Installed);
}
