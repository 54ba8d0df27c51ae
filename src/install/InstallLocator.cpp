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

    introLabel_ = new QLabel(ToQ(DutchText(settings::kLocIntroLabel)), this);
    introLabel_->setObjectName("introLabel");
    introLabel_->setGeometry(8, 8, 257, 41);
    introLabel_->setWordWrap(true);
    introLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    introLabel_->setTextFormat(Qt::PlainText);

    folderGroup_ = new QGroupBox("Locatie:", this);
    folderGroup_->setObjectName("folderGroup");
    folderGroup_->setGeometry(8, 64, 257, 81);
    folderEdit_ = new QLineEdit(kDefaultFolder, folderGroup_);
    folderEdit_->setObjectName("folderEdit");
    folderEdit_->setGeometry(3, 20, 250, 21);
    browseButton_ = new QPushButton("Bladeren...", folderGroup_);
    browseButton_->setObjectName("browseButton");
    browseButton_->setGeometry(174, 48, 75, 25);
    connect(browseButton_, &QPushButton::clicked, this,
            platform::Guarded([this] { onBrowseClicked(); }));

    continueButton_ = new QPushButton("Ga verder...", this);
    continueButton_->setObjectName("continueButton");
    continueButton_->setGeometry(96, 155, 75, 25);
    connect(continueButton_, &QPushButton::clicked, this,
            platform::Guarded([this] { onContinueClicked(); }));

    setTabOrder(continueButton_, browseButton_);
    setTabOrder(browseButton_, folderEdit_);
}

void InstallLocator::applyText(int target, const std::string& text) {
    using namespace settings;
    switch (static_cast<LocatorTarget>(target)) {
        case kLocCaption: setWindowTitle(ToQ(text)); break;
        case kLocIntroLabel: introLabel_->setText(ToQ(text)); break;
        case kLocContinueButton: continueButton_->setText(ToQ(text)); break;
        case kLocBrowseButton: browseButton_->setText(ToQ(text)); break;
        case kLocFolderGroup: folderGroup_->setTitle(ToQ(text)); break;
        case kLocBrowseTitle: texts_.browseTitle = text; break;
        case kLocErrorTitle: texts_.errorTitle = text; break;
        case kLocNotFoundMsg: texts_.notFoundMsg = text; break;
        case kLocFoundMsg: texts_.foundMsg = text; break;
        case kLocFoundTitle: texts_.foundTitle = text; break;
    }
}

void InstallLocator::initialize() {
    const std::string language =
        settings::ReadString(settings::kProgramSection, settings::kLanguageKey);
    const std::string storedPath =
        settings::ReadString(settings::kLocationSection, settings::kPathKey);
    // Read without the main window's boxes; a missing or refused pack gives the built-in texts.
    for (const auto& text : settings::LoadTextsOrBuiltIn(settings::LocatorTexts(), language)) {
        applyText(text.target, text.text);
    }
    if (!TrainExeMissing(platform::JoinPath(storedPath, kTrainExe))) return;
    // Most players here run the simulator inside a compatibility layer: offer its usual place
    // there before the Windows default; a registered folder still wins.
    if (std::optional<std::string> found = FindSimulatorInDefaultPrefix()) {
        folderEdit_->setText(widgets::PathToQ(*found));
    }
    readRegistryPath();
    exec();
}

void InstallLocator::readRegistryPath() {
    if (std::optional<std::string> folder = platform::ReadLocalMachineString(kRegistryKey, kRegistryValue)) {
        folderEdit_->setText(widgets::PathToQ(*folder));
    }
}

void InstallLocator::onContinueClicked() {
    const std::string folder = widgets::PathFromQ(folderEdit_->text());
    if (TrainExeMissing(platform::JoinPath(folder, kTrainExe))) {
        platform::ShowErrorMessage(texts_.notFoundMsg, texts_.errorTitle);
        return;
    }
    platform::ShowInfoMessage(texts_.foundMsg, texts_.foundTitle);
    accept();
    // Stored exactly as typed: a trailing separator stays.
    settings::WriteString(settings::kLocationSection, settings::kPathKey, folder);
}

void InstallLocator::onBrowseClicked() {
    const std::string folder = PickFolder(texts_.browseTitle, 0);
    if (!folder.empty()) folderEdit_->setText(widgets::PathToQ(folder));
}

bool TrainExeMissing(const std::string& path) { return !platform::AnyFileMatches(path); }

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
