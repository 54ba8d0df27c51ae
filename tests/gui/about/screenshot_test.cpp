// Renders the About window and the help language dialog for the documentation:
// docs/about-window.png and docs/help-dialog.png when ZEL_SCREENSHOT_DIR is set
// (scripts/screenshots.sh), otherwise into the build folder.
#include <QDir>
#include <QImage>

#include "gui/about/about_window.h"
#include "gui/about/message_dialog.h"
#include "support/main_window_fixture.h"

namespace {

QString ShotFile(const char* name) {
    const QString dir = qEnvironmentVariableIsSet("ZEL_SCREENSHOT_DIR")
                            ? qEnvironmentVariable("ZEL_SCREENSHOT_DIR")
                            : QDir::currentPath();
    return dir + "/" + name;
}

}  // namespace

TEST_F(MainWindowFixture, AboutWindowRendersToPng) {
    WriteSettings("Nederlands");
    CreateAndShow();
    AboutWindow about([this] { return mainWindow->currentLanguage(); });
    about.show();
    testsupport::ProcessEvents();
    const QString file = ShotFile("about-window.png");
    ASSERT_TRUE(testsupport::GrabToPng(&about, file));
    const QImage image(file);
    EXPECT_EQ(image.size(), QSize(315, 213));
    // The window's blue shows around the white panel.
    EXPECT_EQ(image.pixelColor(2, 2), QColor(49, 106, 197));
    EXPECT_EQ(image.pixelColor(150, 100), QColor(Qt::white));
}

TEST_F(MainWindowFixture, HelpDialogRendersToPng) {
    WriteSettings("Nederlands");
    CreateAndShow();
    const QString file = ShotFile("help-dialog.png");
    bool saved = false;
    QSize size;
    testsupport::AnswerNextModal([&](QWidget* dialog) {
        testsupport::ProcessEvents();
        saved = testsupport::GrabToPng(dialog, file);
        size = dialog->size();
        dialog->close();
    });
    control<QAction>("helpContentsAction")->trigger();
    ASSERT_TRUE(saved);
    EXPECT_EQ(QImage(file).size(), size);
}
