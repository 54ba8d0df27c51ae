#pragma once
// The installation locator: makes sure the stored simulator folder holds train.exe, and
// otherwise asks for the folder until one that holds it is confirmed.
#include <optional>
#include <string>

#include "widgets/program_window.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class InstallLocator : public widgets::ProgramDialog {
    Q_OBJECT
public:
    explicit InstallLocator(QWidget* parent = nullptr);

    // Creation handler: shows the window modally when the stored folder lacks train.exe.
    void FormCreate();
    // "Ga verder...": stores the folder when it holds train.exe.
    void onContinueClicked();
    // "Bladeren...": lets the user pick the folder.
    void onBrowseClicked();
    // Sets TrainExeMissing: is there no file (of any attribute) at exactly this path?
    void CheckTrainExe(const std::string& path);
    // Puts the simulator's registered folder into folderEdit when its registry key exists.
    void ReadRegistryPath();

    QLabel* introLabel = nullptr;
    QGroupBox* folderGroup = nullptr;
    QLineEdit* folderEdit = nullptr;
    QPushButton* browseButton = nullptr;
    QPushButton* continueButton = nullptr;

    bool TrainExeMissing = false;
    std::string StoredPath;
    std::string LocatorLanguage;
    std::string BrowseTitle;
    std::string ErrorTitle;
    std::string NotFoundMsg;
    std::string FoundMsg;
    std::string FoundTitle;

private:
    void SetText(int target, const std::string& text);
};

// The modal folder chooser showing `title`; the chosen folder, or empty when cancelled. The
// chooser offers file-system folders only, so `flags` (0: any item) needs no handling.
std::string PickFolder(const std::string& title, int flags);

// The simulator's usual folder inside the current user's default compatibility-layer prefix
// (~/.wine/drive_c/Program Files[ (x86)]/Microsoft Games/Train Simulator), spelled as on disk,
// when it holds train.exe. Names are matched ignoring case, as the Windows side sees them.
std::optional<std::string> FindSimulatorInDefaultPrefix();
