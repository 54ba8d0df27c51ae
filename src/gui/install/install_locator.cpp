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
#include "ui_install_locator.h"

namespace {

constexpr char kDefaultFolder[] = "C:\\Program Files\\Microsoft Games\\Train Simulator";
constexpr char kRegistryKey[] = "\\Software\\Microsoft\\Microsoft Games\\Train Simulator\\1.0\\";
constexpr char kRegistryValue[] = "EXE Path";
constexpr char kTrainExe[] = "train.exe";

}  // namespace

InstallLocator::InstallLocator(QWidget* parent)
    : widgets::ProgramDialog(parent), ui_(std::make_unique<Ui::InstallLocator>()) {
    // A title bar without system menu, so without close box; fixed size. Flags and font come
    // before the form, as they did before its controls were made.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(widgets::WindowFont());
    ui_->setupUi(this);
    move(244, 217);

    // A free text field with Open Rails' profiles in its list; what is typed never joins it (the
    // form's insert policy).
    ui_->folderBox->setCompleter(nullptr);  // list entries carry names: no completion to them
    ui_->folderBox->lineEdit()->setObjectName("folderEdit");
    ui_->folderBox->setEditText(kDefaultFolder);
    // An entry shows the profile's name; picking it puts only its folder in the field.
    connect(ui_->folderBox, &QComboBox::activated, this, [this](int index) {
        ui_->folderBox->setEditText(ui_->folderBox->itemData(index).toString());
    });
    connect(ui_->browseButton, &QPushButton::clicked, this,
            platform::Guarded([this] { onBrowseClicked(); }));
    connect(ui_->continueButton, &QPushButton::clicked, this,
            platform::Guarded([this] { onContinueClicked(); }));

    widgets::SetLabelPartner(*ui_->introLabel, *ui_->folderBox);
    texts_ = settings::BuiltInTexts(settings::TextWindow::Locator);
    settings::ApplyTexts(*this, texts_);
}

InstallLocator::~InstallLocator() = default;

void InstallLocator::loadTexts() {
    const std::string language =
        settings::ReadString(settings::kProgramSection, settings::kLanguageKey);
    // Read without the main window's boxes; a missing or refused pack gives the built-in texts.
    texts_ = settings::LoadTextsOrBuiltIn(settings::TextWindow::Locator, language);
    settings::ApplyTexts(*this, texts_);
}

void InstallLocator::initialize() {
    loadTexts();
    const std::string storedPath = settings::StoredSimulatorFolder();
    if (install::FindInstallation(storedPath) != install::Installation::None) return;
    const std::optional<std::string> contentFolder = offerProfiles();
    // Most players here run the simulator inside a compatibility layer: offer its usual place
    // there before the Windows default; a registered folder still wins.
    std::optional<std::string> simulator = FindSimulatorInDefaultPrefix();
    if (simulator) ui_->folderBox->setEditText(widgets::PathToQ(*simulator));
    const bool registered = readRegistryPath();
    if (!simulator && !registered && contentFolder)
        ui_->folderBox->setEditText(widgets::PathToQ(*contentFolder));
    showModal(false);
}

std::optional<std::string> InstallLocator::chooseAgain() {
    loadTexts();
    offerProfiles();
    ui_->folderBox->setEditText(widgets::PathToQ(settings::StoredSimulatorFolder()));
    showModal(true);
    if (result() != QDialog::Accepted) return std::nullopt;
    return widgets::PathFromQ(ui_->folderBox->currentText());
}

std::optional<std::string> InstallLocator::offerProfiles() {
    // Filling the list would put its first entry in the field.
    const QString typed = ui_->folderBox->currentText();
    ui_->folderBox->clear();
    std::optional<std::string> firstContentFolder;
    for (const install::Profile& profile : install::OpenRailsProfiles()) {
        const QString folder = widgets::PathToQ(profile.folder);
        ui_->folderBox->addItem(widgets::PathToQ(profile.name) + QStringLiteral(": ") + folder,
                                folder);
        if (!firstContentFolder && install::IsContentFolder(profile.folder))
            firstContentFolder = profile.folder;
    }
    // A folder name is long: the list may be wider than the field, so names are shown whole.
    QAbstractItemView* list = ui_->folderBox->view();
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() + 4);
    ui_->folderBox->setCurrentIndex(-1);
    ui_->folderBox->setEditText(typed);
    return firstContentFolder;
}

void InstallLocator::showModal(bool closeBox) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::MSWindowsFixedSizeDialogHint;
    if (closeBox) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (windowFlags() != flags) setWindowFlags(flags);
    setResult(QDialog::Rejected);
    ui_->continueButton->setFocus();  // the first in the tab order
    exec();
}

bool InstallLocator::readRegistryPath() {
    std::optional<std::string> folder =
        platform::ReadLocalMachineString(kRegistryKey, kRegistryValue);
    if (folder) ui_->folderBox->setEditText(widgets::PathToQ(*folder));
    return folder.has_value();
}

void InstallLocator::onContinueClicked() {
    const std::string folder = widgets::PathFromQ(ui_->folderBox->currentText());
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
    if (!folder.empty()) ui_->folderBox->setEditText(widgets::PathToQ(folder));
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
