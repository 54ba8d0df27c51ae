#pragma once
// The installation locator: makes sure the stored simulator folder holds train.exe, and
// otherwise asks for the folder until one that holds it is confirmed.
#include <optional>
#include <string>

#include "settings/texts.h"
#include "widgets/program_window.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class InstallLocator : public widgets::ProgramDialog {
    Q_OBJECT
  public:
    explicit InstallLocator(QWidget* parent = nullptr);

    // Creation: shows the window modally when the stored folder lacks train.exe.
    void initialize();

    // The texts of the language in use (the boxes and the folder chooser take theirs here).
    const settings::WindowTexts& texts() const { return texts_; }

  private:
    // The continue button: stores the folder when it holds train.exe.
    void onContinueClicked();
    // The browse button: lets the user pick the folder.
    void onBrowseClicked();
    // Puts the simulator's registered folder into the folder field when its registry key exists.
    void readRegistryPath();

    QLabel* introLabel_ = nullptr;
    QGroupBox* folderGroup_ = nullptr;
    QLineEdit* folderEdit_ = nullptr;
    QPushButton* browseButton_ = nullptr;
    QPushButton* continueButton_ = nullptr;

    settings::WindowTexts texts_;
};

// Is there no file (of any attribute) at exactly this path?
bool TrainExeMissing(const std::string& path);

// The modal folder chooser showing `title`; the chosen folder, or empty when cancelled. The
// chooser offers file-system folders only, so `flags` (0: any item) needs no handling.
std::string PickFolder(const std::string& title, int flags);

// The simulator's usual folder inside the current user's default compatibility-layer prefix
// (~/.wine/drive_c/Program Files[ (x86)]/Microsoft Games/Train Simulator), spelled as on disk,
// when it holds train.exe. Names are matched ignoring case, as the Windows side sees them.
std::optional<std::string> FindSimulatorInDefaultPrefix();
