// The route list: the folders under <simulator>/Routes.
#include <QComboBox>
#include <QStringList>

#include "app/MainWindow.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "widgets/qtext.h"

void MainWindow::FillRouteList(const std::string& folder, QComboBox* box) {
    box->clear();
    QStringList names;
    // Asking for folders still returns plain files, which are dropped here.
    for (const auto& entry : platform::FindFiles(platform::JoinPath(folder, "*.*"), platform::faDirectory)) {
        if (entry.IsDirectory()) {
            names.push_back(widgets::PathToQ(entry.name));
        }
    }
    box->addItems(names);
    // Adding items selects the first one; the box shows the placeholder instead.
    box->setCurrentIndex(-1);
    box->setEditText(widgets::ToQ(NoRouteText));
}

void MainWindow::onRouteEdited() {
    if (routeBox->currentText().isEmpty()) routeBox->setEditText(widgets::ToQ(NoRouteText));
}
