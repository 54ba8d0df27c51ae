// The route list: the folders under <simulator>/Routes.
#include <QComboBox>
#include <QStringList>

#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "gui/fog/fog_run_page.h"
#include "gui/widgets/qt_text.h"

void FogRunPage::showRoutes(const std::string& installRoot) {
    session_.setInstallRoot(installRoot);
    fillRouteList(platform::JoinPath(installRoot, "Routes"));
}

void FogRunPage::fillRouteList(const std::string& folder) {
    routeBox_->clear();
    QStringList names;
    // Asking for folders still returns plain files, which are dropped here.
    for (const auto& entry :
         platform::FindFiles(platform::JoinPath(folder, "*.*"), platform::FileAttr::Directory)) {
        if (entry.IsDirectory()) {
            names.push_back(widgets::PathToQ(entry.name));
        }
    }
    routeBox_->addItems(names);
    // Adding items selects the first one; the box shows the placeholder instead.
    routeBox_->setCurrentIndex(-1);
    routeBox_->setEditText(widgets::ToQ(texts_.text(settings::Text::RoutePlaceholder)));
}

void FogRunPage::onRouteEdited() {
    if (routeBox_->currentText().isEmpty())
        routeBox_->setEditText(widgets::ToQ(texts_.text(settings::Text::RoutePlaceholder)));
}
