// A route left in fog without its record: put back from the backups only when every fogged file
// has its own original there, through a record that is on disk before anything changes.
#include "core/fog/route_recovery.h"

#include <gtest/gtest.h>

#include "support/fog_fixtures.h"

using namespace fog;
using namespace testsupport;

namespace {

const std::string kActivity =
    "SIMISA@@@@@@@@@@JINX0a0t______\r\n\r\nTr_Activity (\r\n\tTr_Activity_Header (\r\n"
    "\t\tName ( \"Freight\" )\r\n\t)\r\n\tTr_Activity_File (\r\n\t)\r\n)";

class RouteRecoveryTest : public ::testing::Test {
  protected:
    ProgramFolder program;
    SimulatorTree sim;
    fs::path backups = program.dump() / "Back_up" / "R";
    void SetUp() override {
        WriteFogData(program);
        program.WriteSettings(SettingsText("Nederlands", sim.root().string()));
    }
    FogRunRequest Request() {
        FogRunRequest request = FogRequest(sim, "R", Weather::Rain, 50);
        request.openRails = true;
        request.fogWord = "mist";
        return request;
    }
    std::optional<RunRecord> Offered() {
        RunReport report;
        EXPECT_EQ(RunFog(Request(), {}, &report), RunOutcome::AlreadyFogged);
        return report.recovery;
    }
};

}  // namespace

TEST_F(RouteRecoveryTest, RecordLostPutsEverythingBackOnlyWhenEveryBackupIsAnOriginal) {
    sim.AddEnvFile("R", "a_rain.env");
    sim.AddEnvFile("R", "b_rain.env");
    sim.AddTexturesFolder("R");
    const fs::path activities = sim.routes() / "R" / "Activities";
    WriteFile(activities / "a.act", kActivity);
    WriteFile(activities / "OpenRails" / "a.act", "extension");
    const Snapshot before = TakeSnapshot(sim.routes());
    ASSERT_EQ(RunFog(Request()), RunOutcome::Installed);
    fs::remove(RunRecordPath());
    // The player's own file under a name the run would have used next stays.
    WriteFile(activities / "a_ZEL_mist_rain_50m_2.act", "the player's own");
    const Snapshot fogged = TakeSnapshot(sim.routes());
    const std::string original = ReadFile(backups / "b_rain.env");

    // No way back through a backup that is missing, is fog itself, or is a link.
    fs::remove(backups / "b_rain.env");
    EXPECT_FALSE(Offered());
    WriteFile(backups / "b_rain.env", ReadFile(program.dump() / "rain" / "rain25.env"));
    EXPECT_FALSE(Offered());
    std::error_code ec;
    fs::remove(backups / "b_rain.env");
    fs::create_symlink(sim.envfiles("R") / "a_rain.env", backups / "b_rain.env", ec);
    if (!ec) {
        EXPECT_FALSE(Offered());
    }
    EXPECT_EQ(TakeSnapshot(sim.routes()), fogged);
    EXPECT_FALSE(fs::exists(RunRecordPath()));

    fs::remove(backups / "b_rain.env");
    WriteFile(backups / "b_rain.env", original);
    const std::optional<RunRecord> recovery = Offered();
    ASSERT_TRUE(recovery);
    EXPECT_EQ(recovery->files, (std::vector<std::string>{"a_rain.env", "b_rain.env"}));
    EXPECT_EQ(recovery->added.size(), 3u);  // the copy, its extension, the weather file
    bool recordFirst = false;
    const auto outcome = RecoverRoute(*recovery, [&](Step step, std::size_t) {
        if (step == Step::RestoreStaged) recordFirst = LoadRunRecord() == *recovery;
    });
    ASSERT_TRUE(outcome);
    EXPECT_TRUE(outcome->Complete());
    EXPECT_TRUE(recordFirst);  // a kill from here on is resumed like any restore
    fs::remove(activities / "a_ZEL_mist_rain_50m_2.act");
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
    EXPECT_FALSE(fs::exists(RunRecordPath()));
    EXPECT_FALSE(RecoverRoute(*recovery));  // nothing holds fog any more: nothing to do
}
