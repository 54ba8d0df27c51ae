#include "core/fog/session.h"

#include <gtest/gtest.h>

#include "support/fog_fixtures.h"

using namespace fog;
using namespace testsupport;

class SessionTest : public ::testing::Test {
  protected:
    ProgramFolder program;
    SimulatorTree sim;
    Session session;
    void SetUp() override {
        WriteFogData(program);
        program.WriteSettings(SettingsText("Nederlands", sim.root().string()));
        session.setInstallRoot(sim.root().string());
    }
};

TEST_F(SessionTest, RouteChoiceRefusesPathsMissingRoutesAndMissingFiles) {
    sim.AddEnvFile("R", "rain.env");
    std::filesystem::create_directories(sim.routes() / "Empty" / "Envfiles");
    EXPECT_EQ(session.chooseRoute("../R", Weather::Rain), RouteChoice::NotFound);
    EXPECT_EQ(session.chooseRoute("Nowhere", Weather::Rain), RouteChoice::NotFound);
    EXPECT_EQ(session.chooseRoute("Empty", Weather::Rain), RouteChoice::Unusable);
    EXPECT_EQ(session.chooseRoute("R", Weather::Rain), RouteChoice::Chosen);
    EXPECT_EQ(session.request(Weather::Rain, 50, "mist").found.names[0], "rain.env");
    session.clearRoute();
    EXPECT_TRUE(session.request(Weather::Rain, 50, "mist").found.names[0].empty());
}

// The flow the page drives, without its widgets: make, the run held, restore, back to choosing.
TEST_F(SessionTest, MakeHoldsTheRunUntilItsRestorePutsTheRouteBack) {
    sim.AddEnvFile("R", "rain.env");
    const Snapshot before = TakeSnapshot(sim.routes());
    ASSERT_EQ(session.chooseRoute("R", Weather::Rain), RouteChoice::Chosen);
    session.setOpenRails(true);
    const FogRunRequest request = session.request(Weather::Rain, 75, "mist");
    EXPECT_TRUE(request.openRails);
    RunReport report;
    ASSERT_EQ(session.make(request, {}, report), RunOutcome::Installed);
    ASSERT_TRUE(session.filesReplaced());
    EXPECT_EQ(session.currentRun()->files, std::vector<std::string>{"rain.env"});
    ASSERT_TRUE(session.openRailsSummary());
    EXPECT_EQ(session.openRailsSummary()->activityCopies, 0u);

    // A later start finds the same run on disk and opens it as the session's.
    std::optional<std::string> aside;
    const std::optional<RunRecord> onDisk = Session::LoadRecord(aside);
    ASSERT_TRUE(onDisk);
    EXPECT_FALSE(aside);
    Session later;
    later.open(*onDisk);
    EXPECT_EQ(later.route(), "R");
    EXPECT_EQ(later.currentRun(), session.currentRun());

    RestoreOutcome outcome;
    EXPECT_TRUE(later.restore(*onDisk, {}, outcome));
    EXPECT_TRUE(outcome.Complete());
    later.close();
    EXPECT_FALSE(later.filesReplaced());
    EXPECT_EQ(TakeSnapshot(sim.routes()), before);
}
