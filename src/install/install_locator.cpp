#include "install/install_locator.h"

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
#include "settings/apply_texts.h"
#include "settings/settings_file.h"
#include "settings/texts.h"
#include "widgets/fonts.h"
#include "widgets/label_text.h"
#include "widgets/qt_text.h"

namespace {

constexpr char kDefaultFolder[] = "C:\\Program Files\\Microsoft Games\\Train Simulator";
constexpr char kRegistryKey[] = "\\Software\\Microsoft\\Microsoft Games\\Train Simulator\\1.0\\";
constexpr char kRegistryValue[] = "EXE Path";
constexpr char kTrainExe[] = "train.exe";

}  // namespace

InstallLocator::InstallLocator(QWidget* parent) : widgets::ProgramDialog(parent) {
    setObjectName("InstallLocator");
    // A title bar without system menu, so without close box; fixed size.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(273, 189);
    setFont(widgets::WindowFont());
    move(244, 217);

    introLabel_ = new QLabel(this);
    introLabel_->setObjectName("introLabel");
    introLabel_->setGeometry(8, 8, 257, 41);
    introLabel_->setWordWrap(true);
    introLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    introLabel_->setTextFormat(Qt::PlainText);

    folderGroup_ = new QGroupBox(this);
    folderGroup_->setObjectName("folderGroup");
    folderGroup_->setGeometry(8, 64, 257, 81);
    folderEdit_ = new QLineEdit(kDefaultFolder, folderGroup_);
    folderEdit_->setObjectName("folderEdit");
    folderEdit_->setGeometry(3, 20, 250, 21);
    browseButton_ = new QPushButton(folderGroup_);
    browseButton_->setObjectName("browseButton");
    browseButton_->setGeometry(174, 48, 75, 25);
    connect(browseButton_, &QPushButton::clicked, this,
            platform::Guarded([this] { onBrowseClicked(); }));

    continueButton_ = new QPushButton(this);
    continueButton_->setObjectName("continueButton");
    continueButton_->setGeometry(96, 155, 75, 25);
    connect(continueButton_, &QPushButton::clicked, this,
            platform::Guarded([this] { onContinueClicked(); }));

    setTabOrder(continueButton_, browseButton_);
    setTabOrder(browseButton_, folderEdit_);
    widgets::SetLabelPartner(*introLabel_, *folderEdit_);
    texts_ = settings::BuiltInTexts(settings::TextWindow::Locator);
    settings::ApplyTexts(*this, texts_);
}

void InstallLocator::initialize() {
    const std::string language =
        settings::ReadString(settings::kProgramSection, settings::kLanguageKey);
    const std::string storedPath =
        settings::ReadString(settings::kLocationSection, settings::kPathKey);
    // Read without the main window's boxes; a missing or refused pack gives the built-in texts.
    texts_ = settings::LoadTextsOrBuiltIn(settings::TextWindow::Locator, language);
    settings::ApplyTexts(*this, texts_);
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
    if (std::optional<std::string> folder =
            platform::ReadLocalMachineString(kRegistryKey, kRegistryValue)) {
        folderEdit_->setText(widgets::PathToQ(*folder));
    }
}

void InstallLocator::onContinueClicked() {
    const std::string folder = widgets::PathFromQ(folderEdit_->text());
    if (TrainExeMissing(platform::JoinPath(folder, kTrainExe))) {
        platform::ShowErrorMessage(texts_.text("Meldingen/Kan_niet_vinden"),
                                   texts_.text("Meldingen/Titel"));
        return;
    }
    platform::ShowInfoMessage(texts_.text("Meldingen/Is_Gevonden"),
                              texts_.text("Meldingen/Gevonden_Titel"));
    accept();
    // Stored exactly as typed: a trailing separator stays.
    settings::WriteString(settings::kLocationSection, settings::kPathKey, folder);
}

void InstallLocator::onBrowseClicked() {
    const std::string folder = PickFolder(texts_.text("map dialoog/BrowseTekst"), 0);
    if (!folder.empty()) folderEdit_->setText(widgets::PathToQ(folder));
}

bool TrainExeMissing(const std::string& path) {
    return !platform::AnyFileMatches(path);
}

std::string PickFolder(const std::string& title, int /*flags*/) {
    return platform::ChooseFolder(title);
}

std::optional<std::string> FindSimulatorInDefaultPrefix() {
    const std::string driveC = platform::JoinPath(
        platform::JoinPath(widgets::PathFromQ(QDir::homePath()), ".wine"), "drive_c");
    for (const char* programFiles : {"Program Files", "Program Files (x86)"}) {
        const std::string folder = platform::JoinPath(
            platform::JoinPath(platform::JoinPath(driveC, programFiles), "Microsoft Games"),
            "Train Simulator");
        if (platform::AnyFileMatches(platform::JoinPath(folder, kTrainExe)))
            return platform::ResolvePath(folder);
    }
    return std::nullopt;
}
