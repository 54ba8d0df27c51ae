// Renders the completion page after a snow run for the documentation: docs/completion-page.png
// when ZEL_SCREENSHOT_DIR is set (scripts/screenshots.sh), otherwise into the build folder.
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>

#include "support/fog_fixtures.h"
#include "support/main_window_fixture.h"

TEST_F(MainWindowFixture, CompletionPageRendersToPng) {
    testsupport::WriteFogData(prog);
    WriteSettings("Nederlands");
    sim.AddEnvFile("Noordlijn", "WinterSnow.env");
    sim.AddTexturesFolder("Noordlijn");
    CreateAndShow();
    control<QRadioButton>("snowButton")->setChecked(true);
    routeBox()->setEditText("Noordlijn");
    makeButton()->click();
    ASSERT_TRUE(fogRunPage().filesReplaced());
    const QString dir = qEnvironmentVariableIsSet("ZEL_SCREENSHOT_DIR")
                            ? qEnvironmentVariable("ZEL_SCREENSHOT_DIR")
                            : QDir::currentPath();
    ASSERT_TRUE(testsupport::GrabToPng(mainWindow.get(), dir + "/completion-page.png"));
    restoreButton()->click();
    EXPECT_FALSE(fogRunPage().filesReplaced());
}
