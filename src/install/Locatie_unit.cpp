#include "install/Locatie_unit.h"

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

TLocatie_form::TLocatie_form(QWidget* parent) : widgets::FormDialog(parent) {
    setObjectName("Locatie_form");
    // A title bar without system menu, so without close box; fixed size.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(273, 189);
    setFont(widgets::FormFont());
    setWindowTitle("Locatie");
    move(244, 217);

    Label1 = new QLabel(ToQ(DutchText(settings::kLocLabel1)), this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(8, 8, 257, 41);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setTextFormat(Qt::PlainText);

    GroupBox1 = new QGroupBox("Locatie:", this);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(8, 64, 257, 81);
    Edit1 = new QLineEdit(kDefaultFolder, GroupBox1);
    Edit1->setObjectName("Edit1");
    Edit1->setGeometry(3, 20, 250, 21);
    Button2 = new QPushButton("Bladeren...", GroupBox1);
    Button2->setObjectName("Button2");
    Button2->setGeometry(174, 48, 75, 25);
    connect(Button2, &QPushButton::clicked, this, platform::Guarded([this] { Button2Click(); }));

    Button1 = new QPushButton("Ga verder...", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(96, 155, 75, 25);
    connect(Button1, &QPushButton::clicked, this, platform::Guarded([this] { Button1Click(); }));

    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Edit1);
}

void TLocatie_form::SetText(int target, const std::string& text) {
    using namespace settings;
    switch (static_cast<LocatorTarget>(target)) {
        case kLocCaption: setWindowTitle(ToQ(text)); break;
        case kLocLabel1: Label1->setText(ToQ(text)); break;
        case kLocButton1: Button1->setText(ToQ(text)); break;
        case kLocButton2: Button2->setText(ToQ(text)); break;
        case kLocGroupBox1: GroupBox1->setTitle(ToQ(text)); break;
        case kLocBrowseTitle: BrowseTitle = text; break;
        case kLocErrorTitle: ErrorTitle = text; break;
        case kLocNotFoundMsg: NotFoundMsg = text; break;
        case kLocFoundMsg: FoundMsg = text; break;
        case kLocFoundTitle: FoundTitle = text; break;
    }
}

void TLocatie_form::FormCreate() {
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
        Edit1->setText(widgets::PathToQ(*found));
    }
    ReadRegistryPath();
    exec();
}

void TLocatie_form::CheckTrainExe(const std::string& path) {
    TrainExeMissing = !platform::AnyFileMatches(path);
}

void TLocatie_form::ReadRegistryPath() {
    if (std::optional<std::string> folder = platform::ReadLocalMachineString(kRegistryKey, kRegistryValue)) {
        Edit1->setText(widgets::PathToQ(*folder));
    }
}

void TLocatie_form::Button1Click() {
    const std::string folder = widgets::PathFromQ(Edit1->text());
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

void TLocatie_form::Button2Click() {
    const std::string folder = PickFolder(BrowseTitle, 0);
    if (!folder.empty()) Edit1->setText(widgets::PathToQ(folder));
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
