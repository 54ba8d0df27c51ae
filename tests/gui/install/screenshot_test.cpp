// Renders the installation locator for the documentation: docs/locator-window.png when
// ZEL_SCREENSHOT_DIR is set (scripts/screenshots.sh), otherwise into the build folder.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPainter>

#include "core/platform/paths.h"
#include "gui/install/install_locator.h"
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

// The locator with its list open on an Open Rails profile: docs/locator-profiles.png. The list
// is a window of its own, so it is painted onto the locator's picture where it shows.
TEST(Locator, LocatorOfferingAProfileRendersToPng) {
    if constexpr (platform::kWindows) GTEST_SKIP() << "the prefix's registry file is Linux's";
    testsupport::ProgramFolder prog;
    testsupport::TempDir home;
    testsupport::ScopedEnv homeEnv("HOME", home.str());
    testsupport::PlayerPrefix prefix(
        testsupport::ProfileList{{"Demo Pakket", "C:\\users\\speler\\Demo Pakket"}});
    testsupport::MakeContentFolder(prefix.driveC() / "users" / "speler" / "Demo Pakket",
                                   {"KUSTLIJN"});
    prog.WriteSettings("[Programma]\r\nTaalkeuze=Nederlands\r\n");
    const QString dir = qEnvironmentVariableIsSet("ZEL_SCREENSHOT_DIR")
                            ? qEnvironmentVariable("ZEL_SCREENSHOT_DIR")
                            : QDir::currentPath();
    const QString file = dir + "/locator-profiles.png";
    testsupport::AnswerModal<InstallLocator>([&](InstallLocator* w) {
        auto* box = testsupport::Child<QComboBox>(*w, "folderBox");
        box->showPopup();
        QWidget* popup = box->view()->window();
        const QPoint at = popup->mapToGlobal(QPoint()) - w->mapToGlobal(QPoint());
        // A fixed width: the list's width follows the test's temporary folder names.
        QRect all = QRect(QPoint(), w->size()) | QRect(at, popup->size());
        all.setWidth(420);
        QImage image(all.size(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.drawPixmap(-all.topLeft(), w->grab());
        painter.drawPixmap(at - all.topLeft(), popup->grab());
        painter.end();
        EXPECT_TRUE(image.save(file));
        box->hidePopup();
        w->close();
    });
    InstallLocator window;
    window.initialize();
    testsupport::ClearModalAnswers();
    EXPECT_FALSE(QImage(file).isNull());
}
