// The main window's language: applying texts, the pack checks and the Options > Taal menu.
#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include "app/MainWindow.h"
#include "platform/messages.h"
#include "settings/language.h"
#include "settings/settings_file.h"
#include "settings/texts.h"
#include "widgets/qtext.h"

using widgets::ToQ;

void MainWindow::SetTarget(int target, const std::string& text) {
    using namespace settings;
    switch (static_cast<MainTarget>(target)) {
        case kRouteLabel: routeLabel->setText(ToQ(text)); break;
        case kRouteGroup: routeGroup->setTitle(ToQ(text)); break;
        case kRouteBoxText: routeBox->setEditText(ToQ(text)); break;
        case kNoRouteText: NoRouteText = text; break;
        case kFileMenu: fileMenu->setTitle(ToQ(text)); break;
        case kExitAction: exitAction->setText(ToQ(text)); break;
        case kOptionsMenu: optionsMenu->setTitle(ToQ(text)); break;
        case kLanguageMenu: languageMenu->setTitle(ToQ(text)); break;
        case kHelpMenu: helpMenu->setTitle(ToQ(text)); break;
        case kHelpContentsAction: helpContentsAction->setText(ToQ(text)); break;
        case kAboutAction: aboutAction->setText(ToQ(text)); break;
        case kWeatherGroup: weatherGroup->setTitle(ToQ(text)); break;
        case kWeatherLabel: weatherLabel->setText(ToQ(text)); break;
        case kSunButton: sunButton->setText(ToQ(text)); break;
        case kRainButton: rainButton->setText(ToQ(text)); break;
        case kSnowButton: snowButton->setText(ToQ(text)); break;
        case kFogGroup: fogGroup->setTitle(ToQ(text)); break;
        case kFogStateCaption:
            fogStateCaption->setText(ToQ(text));
            fogStateCaption->resize(fogStateCaption->sizeHint());
            break;
        case kVisibilityCaption: visibilityCaption->setText(ToQ(text)); break;
        case kMakeButton: makeButton->setText(ToQ(text)); break;
        case kCompletionLabel: completionLabel->setText(ToQ(text)); break;
        case kRestoreButton: restoreButton->setText(ToQ(text)); break;
        case kInfoTitle: InfoTitleText = text; break;
        case kInfoRoute: InfoRouteText = text; break;
        case kInfoWeather: InfoWeatherText = text; break;
        case kInfoVisibility: InfoVisibilityText = text; break;
        case kInfoFogState: InfoFogStateText = text; break;
        case kFogState0: FogStateTexts[0] = text; break;
        case kFogState1: FogStateTexts[1] = text; break;
        case kFogState2: FogStateTexts[2] = text; break;
        case kFogState3: FogStateTexts[3] = text; break;
        case kFogState4: FogStateTexts[4] = text; break;
        case kErrorTitle: ErrorTitle = text; break;
        case kNoRouteMsg: NoRouteMsg = text; break;
        case kRouteErrMsg: RouteErrMsg = text; break;
        case kRouteNotFoundMsg: RouteNotFoundMsg = text; break;
        case kNoCloseMsg: NoCloseMsg = text; break;
        case kCloseTitle: CloseTitle = text; break;
        case kLanguageDlgTitle: LanguageDlgTitle = text; break;
        case kLanguageReadErrMsg: LanguageReadErrMsg = text; break;
        case kHelpNotFoundMsg: HelpNotFoundMsg = text; break;
        case kBackupFailedMsg: BackupFailedMsg = text; break;
        case kRestoreFailedMsg: RestoreFailedMsg = text; break;
        case kRunPendingMsg: RunPendingMsg = text; break;
        case kInUseMsg: InUseMsg = text; break;
        case kInstallFailedMsg: InstallFailedMsg = text; break;
        case kRecordRefusedMsg: RecordRefusedMsg = text; break;
        case kMainTargetCount: break;
    }
}

void MainWindow::ApplyLanguage(const std::string& name) {
    CurrentLanguage = name;
    // Every pack value is read anew, so an edited pack shows at the next application.
    for (const auto& text : settings::LoadTexts(settings::MainWindowTexts(), CurrentLanguage)) {
        SetTarget(text.target, text.text);
    }
    UpdateVisibilityDisplay(FogStateDisplayTexts());
    settings::WriteString(settings::kProgramSection, settings::kLanguageKey, CurrentLanguage);
}

void MainWindow::CheckPackFile(const std::string& name) {
    if (settings::PackFileExists(name)) {
        // Applied once its header has passed (CheckPackHeader): a refused pack must not lend its
        // texts, empty ones included, to the boxes that refuse it.
        CurrentLanguage = name;
        return;
    }
    dutchAction->setChecked(true);
    ApplyLanguage(settings::kDutch);
    platform::ShowErrorMessage(LanguageReadErrMsg, ErrorTitle);
}

void MainWindow::CheckPackHeader(const std::string& language, const std::string& program) {
    bool failed = false;
    if (!settings::LanguageValuePasses(language)) {
        platform::ShowErrorMessage(LanguageReadErrMsg, ErrorTitle);
        failed = true;
    }
    if (!settings::ProgramValuePasses(program)) {
        platform::ShowErrorMessage(LanguageReadErrMsg, ErrorTitle);
        failed = true;
    }
    if (!failed) {
        ApplyLanguage(CurrentLanguage);
    } else {
        dutchAction->setChecked(true);
        ApplyLanguage(settings::kDutch);
    }
}

void MainWindow::FillLanguageMenu(const std::string& folder) {
    for (const std::string& name : settings::FindPackNames(folder)) {
        auto* item = new QAction(widgets::PathToQ(name), this);
        // The pack name's own bytes, so a name that does not decode cleanly still names its file.
        item->setData(QByteArray::fromStdString(name));
        item->setObjectName(QStringLiteral("Language%1").arg(languageMenu->actions().size() + 1));
        item->setCheckable(true);
        languageGroup_->addAction(item);
        languageMenu->addAction(item);
        if (CurrentLanguage == name) item->setChecked(true);
    }
    // Dutch is built in: its item is checked whether or not any pack exists (the group then
    // unchecks a pack that happens to be named like it).
    if (CurrentLanguage == settings::kDutch) dutchAction->setChecked(true);
}

void MainWindow::onLanguageTriggered(QAction* Sender) {
    Sender->setChecked(true);
    if (dutchAction->isChecked()) {
        CurrentLanguage = settings::kDutch;
        ApplyLanguage(settings::kDutch);
        return;
    }
    CurrentLanguage = Sender->data().toByteArray().toStdString();
    const settings::PackFileInfo info = settings::ReadPackFileInfo(CurrentLanguage);
    CheckPackHeader(info.language, info.program);
}
