#include "gui/widgets/app_icon.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QMessageBox>

namespace widgets {
namespace {

// Every window, also a message box, carries the locomotive at each usual size, cut out on a
// transparent background.
TEST(AppIcon, EveryWindowShowsTheLocomotiveAtTheUsualSizes) {
    InstallAppIcon();
    QDialog dialog;
    QMessageBox box;
    for (const QWidget* w :
         {static_cast<const QWidget*>(&dialog), static_cast<const QWidget*>(&box)}) {
        const QIcon icon = w->windowIcon();
        const QList<QSize> sizes = icon.availableSizes();
        for (int n : {16, 24, 32, 48, 64, 128, 256}) {
            SCOPED_TRACE(n);
            ASSERT_TRUE(sizes.contains(QSize(n, n)));
            const QImage image = icon.pixmap(QSize(n, n)).toImage();
            ASSERT_EQ(image.size(), QSize(n, n));
            EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
            EXPECT_EQ(qAlpha(image.pixel(n / 2, n / 2)), 255);
        }
    }
}

}  // namespace
}  // namespace widgets
