// Renders the main window for the documentation: docs/main-window.png when ZEL_SCREENSHOT_DIR is
// set (scripts/screenshots.sh), otherwise into the build folder. Checks the picture is the window.
#include <QDir>
#include <QImage>

#include "support/main_window_fixture.h"

TEST_F(MainWindowFixture, MainWindowInDutchRendersToPng) {
    std::filesystem::create_directories(sim.routes() / "Noordlijn");
    WriteSettings("Nederlands");
    CreateAndShow();
    const QString dir = qEnvironmentVariableIsSet("ZEL_SCREENSHOT_DIR")
                            ? qEnvironmentVariable("ZEL_SCREENSHOT_DIR")
                            : QDir::currentPath();
    const QString file = dir + "/main-window.png";
    ASSERT_TRUE(testsupport::GrabToPng(mainWindow.get(), file));
    const QImage image(file);
    EXPECT_EQ(image.width(), mainWindow->width());
    EXPECT_GE(image.height(), 229);
}
