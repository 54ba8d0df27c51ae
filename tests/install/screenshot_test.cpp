// Renders the installation locator for the documentation: docs/locator-window.png when
// ZEL_SCREENSHOT_DIR is set (scripts/screenshots.sh), otherwise into the build folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include "install/install_locator.h"
#include "support/fixtures.h"
#include "support/gui.h"

TEST(Locator, LocatorWindowRendersToPng) {
    testsupport::ProgramFolder prog;
    testsupport::TempDir home;
    testsupport::ScopedEnv homeEnv("HOME", home.str());
    prog.WriteSettings("[Programma]\r\nTaalkeuze=Nederlands\r\n");
    const QString dir = qEnvironmentVariableIsSet("ZEL_SCREENSHOT_DIR")
                            ? qEnvironmentVariable("ZEL_SCREENSHOT_DIR")
                            : QDir::currentPath();
    const QString file = dir + "/locator-window.png";
    QSize shown;
    testsupport::AnswerModal<InstallLocator>([&](InstallLocator* w) {
        shown = w->size();
        EXPECT_TRUE(testsupport::GrabToPng(w, file));
        w->close();
    });
    InstallLocator window;
    window.initialize();
    const QImage image(file);
    EXPECT_EQ(image.size(), shown);
    EXPECT_EQ(shown, QSize(273, 189));
}
