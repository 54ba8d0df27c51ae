#pragma once
// The installation locator: makes sure the stored folder holds an installation (the simulator's
// train.exe, or an Open Rails content folder with routes), and otherwise asks for the folder
// until one that holds one is confirmed. Open Rails' own profiles are offered in its list.
#include <memory>
#include <optional>
#include <string>

#include "core/install/installation.h"
#include "core/settings/texts.h"
#include "gui/widgets/program_window.h"

namespace Ui {
class InstallLocator;
}

class InstallLocator : public widgets::ProgramDialog {
    Q_OBJECT
  public:
    explicit InstallLocator(QWidget* parent = nullptr);
    ~InstallLocator() override;

    // Creation: shows the window modally when the stored folder holds no installation.
    void initialize();
    // The menu command: shows the window modally with the stored folder in the field, with a
    // close box that leaves everything as it was. Returns the folder confirmed (and stored), or
    // nothing when the window was closed.
    std::optional<std::string> chooseAgain();

    // The texts of the language in use (the boxes and the folder chooser take theirs here).
    const settings::WindowTexts& texts() const { return texts_; }

  private:
    void loadTexts();
    // Lists Open Rails' profiles under the folder field; returns the first content folder.
    std::optional<std::string> offerProfiles();
    void showModal(bool closeBox);
    // The continue button: stores the folder when it holds an installation.
    void onContinueClicked();
    // The browse button: lets the user pick the folder.
    void onBrowseClicked();
    // Puts the simulator's registered folder into the folder field when its registry key exists;
    // returns whether it did.
    bool readRegistryPath();

    // Controls: the introduction, the folder group (field and browse button) and continue.
    std::unique_ptr<Ui::InstallLocator> ui_;

    settings::WindowTexts texts_;
};

using install::TrainExeMissing;

// The modal folder chooser showing `title`; the chosen folder, or empty when cancelled. The
// chooser offers file-system folders only, so `flags` (0: any item) needs no handling.
std::string PickFolder(const std::string& title, int flags);

// The simulator's usual folder inside the current user's default compatibility-layer prefix
// (~/.wine/drive_c/Program Files[ (x86)]/Microsoft Games/Train Simulator), spelled as on disk,
// when it holds train.exe. Names are matched ignoring case, as the Windows side sees them.
std::optional<std::string> FindSimulatorInDefaultPrefix();
