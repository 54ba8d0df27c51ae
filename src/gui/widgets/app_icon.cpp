#include "gui/widgets/app_icon.h"

#include <QApplication>

// The pictures live in this static library; referencing their initialiser keeps the linker from
// dropping them. Q_INIT_RESOURCE must be used outside any namespace.
static void InitAppIconResources() {
    Q_INIT_RESOURCE(app_icon);
}

namespace widgets {

QIcon AppIcon() {
    InitAppIconResources();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/appicon/%1").arg(size), QSize(size, size));
    return icon;
}

void InstallAppIcon() {
    QApplication::setWindowIcon(AppIcon());
}

}  // namespace widgets
