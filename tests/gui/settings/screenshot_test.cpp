// Renders the language window for the documentation: docs/language-window.png when
// ZEL_SCREENSHOT_DIR is set (scripts/screenshots.sh), otherwise into the build folder.
#include <QDir>
#include <QImage>
#include <QPushButton>

#include "gui/settings/language_window.h"
#include "support/main_window_fixture.h"

TEST_F(MainWindowFixture, LanguageWindowRendersToPng) {
    prog.WritePack("English", testsupport::PackText("English", "ZEL Nevora"));
    CreateMainWindow();
    const QString dir = qEnvironmentVariableIsSet("ZEL_SCREENSHOT_DIR")
                            ? qEnvironmentVariable("ZEL_SCREENSHOT_DIR")
                            : QDir::currentPath();
    const QString file = dir + "/language-window.png";
    QSize shown;
    testsupport::AnswerModal<LanguageWindow>([&](LanguageWindow* w) {
        shown = w->size();
        EXPECT_TRUE(testsupport::GrabToPng(w, file));
        testsupport::Child<QPushButton>(*w, "okButton")->click();
    });
    LanguageWindow window(*mainWindow);
    window.initialize();
    const QImage image(file);
    EXPECT_EQ(image.size(), shown);
    EXPECT_EQ(shown, QSize(237, 117));
}
