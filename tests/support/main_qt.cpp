#include <gtest/gtest.h>

#include <QApplication>

#include "gui/widgets/accessibility.h"
#include "gui/widgets/fonts.h"

int main(int argc, char** argv) {
    // CTest sets the offscreen platform; a developer running the binary by hand gets it too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    widgets::InstallFontSubstitutes();
    widgets::InstallAccessibility();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
