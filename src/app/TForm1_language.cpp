// The main window's language: applying texts, the pack checks and the Options > Taal menu.
#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include "app/TForm1.h"
#include "platform/messages.h"
#include "settings/language.h"
#include "settings/settings_file.h"
#include "settings/texts.h"
#include "widgets/qtext.h"

using widgets::ToQ;

void TForm1::SetTarget(int target, const std::string& text) {
    using namespace settings;
    switch (static_cast<MainTarget>(target)) {
        case kLabel1: Label1->setText(ToQ(text)); break;
        case kGroupBox1: GroupBox1->setTitle(ToQ(text)); break;
        case kRouteBoxText: RouteBox->setEditText(ToQ(text)); break;
        case kNoRouteText: NoRouteText = text; break;
        case kMenuBestand1: Bestand1->setTitle(ToQ(text)); break;
        case kMenuAfsluiten1: afsluiten1->setText(ToQ(text)); break;
        case kMenuOpties1: Opties1->setTitle(ToQ(text)); break;
        case kMenuTaal1: Taal1->setTitle(ToQ(text)); break;
        case kMenuHelp1: Help1->setTitle(ToQ(text)); break;
        case kMenuHelp2: Help2->setText(ToQ(text)); break;
        case kMenuInfo1: Info1->setText(ToQ(text)); break;
        case kGroupBox2: GroupBox2->setTitle(ToQ(text)); break;
        case kLabel2: Label2->setText(ToQ(text)); break;
        case kSun: Sun->setText(ToQ(text)); break;
        case kRain: Rain->setText(ToQ(text)); break;
        case kSnow: Snow->setText(ToQ(text)); break;
        case kGroupBox3: GroupBox3->setTitle(ToQ(text)); break;
        case kLabel4: Label4->setText(ToQ(text)); Label4->resize(Label4->sizeHint()); break;
        case kLabel5: Label5->setText(ToQ(text)); break;
        case kButton1: Button1->setText(ToQ(text)); break;
        case kLabel3: Label3->setText(ToQ(text)); break;
        case kButton2: Button2->setText(ToQ(text)); break;
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

void TForm1::ApplyLanguage(const std::string& name) {
    CurrentLanguage = name;
    // Every pack value is read anew, so an edited pack shows at the next application.
    for (const auto& text : settings::LoadTexts(settings::MainWindowTexts(), CurrentLanguage)) {
        SetTarget(text.target, text.text);
    }
    UpdateVisibilityDisplay(FogStateDisplayTexts());
    settings::WriteString(settings::kProgramSection, settings::kLanguageKey, CurrentLanguage);
}

void TForm1::CheckPackFile(const std::string& name) {
    if (settings::PackFileExists(name)) {
        // Applied once its header has passed (CheckPackHeader): a refused pack must not lend its
        // texts, empty ones included, to the boxes that refuse it.
        CurrentLanguage = name;
        return;
    }
    Nederlands1->setChecked(true);
    ApplyLanguage(settings::kDutch);
    platform::ShowErrorMessage(LanguageReadErrMsg, ErrorTitle);
}

void TForm1::CheckPackHeader(const std::string& language, const std::string& program) {
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
        Nederlands1->setChecked(true);
        ApplyLanguage(settings::kDutch);
    }
}

void TForm1::FillLanguageMenu(const std::string& folder) {
    for (const std::string& name : settings::FindPackNames(folder)) {
        auto* item = new QAction(widgets::PathToQ(name), this);
        // The pack name's own bytes, so a name that does not decode cleanly still names its file.
        item->setData(QByteArray::fromStdString(name));
        item->setObjectName(QStringLiteral("Language%1").arg(Taal1->actions().size() + 1));
        item->setCheckable(true);
        languageGroup_->addAction(item);
        Taal1->addAction(item);
        if (CurrentLanguage == name) item->setChecked(true);
    }
    // Dutch is built in: its item is checked whether or not any pack exists (the group then
    // unchecks a pack that happens to be named like it).
    if (CurrentLanguage == settings::kDutch) Nederlands1->setChecked(true);
}

void TForm1::LanguageClick(QAction* Sender) {
    Sender->setChecked(true);
    if (Nederlands1->isChecked()) {
        CurrentLanguage = settings::kDutch;
        ApplyLanguage(settings::kDutch);
        return;
    }
    CurrentLanguage = Sender->data().toByteArray().toStdString();
    const settings::PackFileInfo info = settings::ReadPackFileInfo(CurrentLanguage);
    CheckPackHeader(info.language, info.program);
}
