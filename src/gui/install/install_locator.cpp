#include "gui/install/install_locator.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/platform/files.h"
#include "core/platform/messages.h"
#include "core/platform/paths.h"
#include "core/platform/registry.h"
#include "core/settings/settings_file.h"
#include "core/settings/texts.h"
#include "gui/platform/shell.h"
#include "gui/texts/apply_texts.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/label_text.h"
#include "gui/widgets/qt_text.h"

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
    // A free text field with Open Rails' profiles in its list; what is typed never joins it.
    folderBox_ = new QComboBox(folderGroup_);
    folderBox_->setObjectName("folderBox");
    folderBox_->setEditable(true);
    folderBox_->setInsertPolicy(QComboBox::NoInsert);
    folderBox_->setCompleter(nullptr);  // list entries carry names: no completion to them
    folderBox_->lineEdit()->setObjectName("folderEdit");
    folderBox_->setEditText(kDefaultFolder);
    folderBox_->setGeometry(3, 20, 250, 21);
    // An entry shows the profile's name; picking it puts only its folder in the field.
    connect(folderBox_, &QComboBox::activated, this,
            [this](int index) { folderBox_->setEditText(folderBox_->itemData(index).toString()); });
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
    setTabOrder(browseButton_, folderBox_);
    widgets::SetLabelPartner(*introLabel_, *folderBox_);
    texts_ = settings::BuiltInTexts(settings::TextWindow::Locator);
    settings::ApplyTexts(*this, texts_);
}

void InstallLocator::loadTexts() {
    const std::string language =
        settings::ReadString(settings::kProgramSection, settings::kLanguageKey);
    // Read without the main window's boxes; a missing or refused pack gives the built-in texts.
    texts_ = settings::LoadTextsOrBuiltIn(settings::TextWindow::Locator, language);
    settings::ApplyTexts(*this, texts_);
}

void InstallLocator::initialize() {
    loadTexts();
    const std::string storedPath =
        settings::ReadString(settings::kLocationSection, settings::kPathKey);
    if (install::FindInstallation(storedPath) != install::Installation::None) return;
    const std::optional<std::string> contentFolder = offerProfiles();
    // Most players here run the simulator inside a compatibility layer: offer its usual place
    // there before the Windows default; a registered folder still wins.
    std::optional<std::string> simulator = FindSimulatorInDefaultPrefix();
    if (simulator) folderBox_->setEditText(widgets::PathToQ(*simulator));
    const bool registered = readRegistryPath();
    if (!simulator && !registered && contentFolder)
        folderBox_->setEditText(widgets::PathToQ(*contentFolder));
    showModal(false);
}

bool InstallLocator::chooseAgain() {
    loadTexts();
    offerProfiles();
    folderBox_->setEditText(
        widgets::PathToQ(settings::ReadString(settings::kLocationSection, settings::kPathKey)));
    showModal(true);
    return result() == QDialog::Accepted;
}

std::optional<std::string> InstallLocator::offerProfiles() {
    // Filling the list would put its first entry in the field.
    const QString typed = folderBox_->currentText();
    folderBox_->clear();
    std::optional<std::string> firstContentFolder;
    for (const install::Profile& profile : install::OpenRailsProfiles()) {
        const QString folder = widgets::PathToQ(profile.folder);
        folderBox_->addItem(widgets::PathToQ(profile.name) + QStringLiteral(": ") + folder, folder);
        if (!firstContentFolder && install::IsContentFolder(profile.folder))
            firstContentFolder = profile.folder;
    }
    // A folder name is long: the list may be wider than the field, so names are shown whole.
    QAbstractItemView* list = folderBox_->view();
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() + 4);
    folderBox_->setCurrentIndex(-1);
    folderBox_->setEditText(typed);
    return firstContentFolder;
}

void InstallLocator::showModal(bool closeBox) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::MSWindowsFixedSizeDialogHint;
    if (closeBox) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (windowFlags() != flags) setWindowFlags(flags);
    setResult(QDialog::Rejected);
    continueButton_->setFocus();  // the first in the tab order
    exec();
}

bool InstallLocator::readRegistryPath() {
    std::optional<std::string> folder =
        platform::ReadLocalMachineString(kRegistryKey, kRegistryValue);
    if (folder) folderBox_->setEditText(widgets::PathToQ(*folder));
    return folder.has_value();
}

void InstallLocator::onContinueClicked() {
    const std::string folder = widgets::PathFromQ(folderBox_->currentText());
    const install::Installation found = install::FindInstallation(folder);
    if (found == install::Installation::None) {
        platform::ShowErrorMessage(texts_.text(settings::Text::SimulatorNotFound),
                                   texts_.text(settings::Text::ErrorTitle));
        return;
    }
    platform::ShowInfoMessage(
        texts_.text(found == install::Installation::Simulator ? settings::Text::SimulatorFound
                                                              : settings::Text::ContentFolderFound),
        texts_.text(settings::Text::FoundTitle));
    accept();
    // Stored exactly as typed: a trailing separator stays.
    settings::WriteString(settings::kLocationSection, settings::kPathKey, folder);
}

void InstallLocator::onBrowseClicked() {
    const std::string folder = PickFolder(texts_.text(settings::Text::BrowseText), 0);
    if (!folder.empty()) folderBox_->setEditText(widgets::PathToQ(folder));
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
