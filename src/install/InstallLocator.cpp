#include "install/InstallLocator.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/files.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "settings/settings_file.h"
#include "settings/texts.h"
#include "widgets/fonts.h"
#include "widgets/qtext.h"

using widgets::ToQ;

namespace {

constexpr char kDefaultFolder[] = "C:\\Program Files\\Microsoft Games\\Train Simulator";
constexpr char kRegistryKey[] = "\\Software\\Microsoft\\Microsoft Games\\Train Simulator\\1.0\\";
constexpr char kRegistryValue[] = "EXE Path";
constexpr char kTrainExe[] = "train.exe";

// The built-in Dutch text of one of the window's targets (the design text of most controls).
const char* DutchText(settings::LocatorTarget target) {
    for (const auto& row : settings::LocatorTexts())
        if (row.target == target) return row.dutch;
    return "";
}

}  // namespace

InstallLocator::InstallLocator(QWidget* parent) : widgets::ProgramDialog(parent) {
    setObjectName("InstallLocator");
    // A title bar without system menu, so without close box; fixed size.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(273, 189);
    setFont(widgets::WindowFont());
    setWindowTitle("Locatie");
    move(244, 217);

    introLabel = new QLabel(ToQ(DutchText(settings::kLocIntroLabel)), this);
    introLabel->setObjectName("introLabel");
    introLabel->setGeometry(8, 8, 257, 41);
    introLabel->setWordWrap(true);
    introLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    introLabel->setTextFormat(Qt::PlainText);

    folderGroup = new QGroupBox("Locatie:", this);
    folderGroup->setObjectName("folderGroup");
    folderGroup->setGeometry(8, 64, 257, 81);
    folderEdit = new QLineEdit(kDefaultFolder, folderGroup);
    folderEdit->setObjectName("folderEdit");
    folderEdit->setGeometry(3, 20, 250, 21);
    browseButton = new QPushButton("Bladeren...", folderGroup);
    browseButton->setObjectName("browseButton");
    browseButton->setGeometry(174, 48, 75, 25);
    connect(browseButton, &QPushButton::clicked, this,
            platform::Guarded([this] { onBrowseClicked(); }));

    continueButton = new QPushButton("Ga verder...", this);
    continueButton->setObjectName("continueButton");
    continueButton->setGeometry(96, 155, 75, 25);
    connect(continueButton, &QPushButton::clicked, this,
            platform::Guarded([this] { onContinueClicked(); }));

    setTabOrder(continueButton, browseButton);
    setTabOrder(browseButton, folderEdit);
}

void InstallLocator::SetText(int target, const std::string& text) {
    using namespace settings;
    switch (static_cast<LocatorTarget>(target)) {
        case kLocCaption: setWindowTitle(ToQ(text)); break;
        case kLocIntroLabel: introLabel->setText(ToQ(text)); break;
        case kLocContinueButton: continueButton->setText(ToQ(text)); break;
        case kLocBrowseButton: browseButton->setText(ToQ(text)); break;
        case kLocFolderGroup: folderGroup->setTitle(ToQ(text)); break;
        case kLocBrowseTitle: BrowseTitle = text; break;
        case kLocErrorTitle: ErrorTitle = text; break;
        case kLocNotFoundMsg: NotFoundMsg = text; break;
        case kLocFoundMsg: FoundMsg = text; break;
        case kLocFoundTitle: FoundTitle = text; break;
    }
}

void InstallLocator::FormCreate() {
    LocatorLanguage = settings::ReadString(settings::kProgramSection, settings::kLanguageKey);
    StoredPath = settings::ReadString(settings::kLocationSection, settings::kPathKey);
    // Read without the main window's boxes; a missing or refused pack gives the built-in texts.
    for (const auto& text : settings::LoadTexts(settings::LocatorTexts(), LocatorLanguage)) {
        SetText(text.target, text.text);
    }
    CheckTrainExe(platform::JoinPath(StoredPath, kTrainExe));
    if (!TrainExeMissing) return;
    // Most players here run the simulator inside a compatibility layer: offer its usual place
    // there before the Windows default; a registered folder still wins.
    if (std::optional<std::string> found = FindSimulatorInDefaultPrefix()) {
        folderEdit->setText(widgets::PathToQ(*found));
    }
    ReadRegistryPath();
    exec();
}

void InstallLocator::CheckTrainExe(const std::string& path) {
    TrainExeMissing = !platform::AnyFileMatches(path);
}

void InstallLocator::ReadRegistryPath() {
    if (std::optional<std::string> folder = platform::ReadLocalMachineString(kRegistryKey, kRegistryValue)) {
        folderEdit->setText(widgets::PathToQ(*folder));
    }
}

void InstallLocator::onContinueClicked() {
    const std::string folder = widgets::PathFromQ(folderEdit->text());
    CheckTrainExe(platform::JoinPath(folder, kTrainExe));
    if (TrainExeMissing) {
        platform::ShowErrorMessage(NotFoundMsg, ErrorTitle);
        return;
    }
    platform::ShowInfoMessage(FoundMsg, FoundTitle);
    accept();
    // Stored exactly as typed: a trailing separator stays.
    settings::WriteString(settings::kLocationSection, settings::kPathKey, folder);
}

void InstallLocator::onBrowseClicked() {
    const std::string folder = PickFolder(BrowseTitle, 0);
    if (!folder.empty()) folderEdit->setText(widgets::PathToQ(folder));
}


std::string PickFolder(const std::string& title, int /*flags*/) { return platform::ChooseFolder(title); }

std::optional<std::string> FindSimulatorInDefaultPrefix() {
    const std::string driveC =
        platform::JoinPath(platform::JoinPath(widgets::PathFromQ(QDir::homePath()), ".wine"), "drive_c");
    for (const char* programFiles : {"Program Files", "Program Files (x86)"}) {
        const std::string folder = platform::JoinPath(
            platform::JoinPath(platform::JoinPath(driveC, programFiles), "Microsoft Games"),
            "Train Simulator");
        if (platform::AnyFileMatches(platform::JoinPath(folder, kTrainExe)))
            return platform::ResolvePath(folder);
    }
    return std::nullopt;
}
