// The main window's fog run: discovery, "Maken...", the restore and the close guard.
#include "app/MainWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextEdit>

#include "mist/discovery.h"
#include "mist/fog_run.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "widgets/TrackBar.h"
#include "widgets/qtext.h"

namespace {

mist::Weather CheckedWeather(const MainWindow& form) {
    if (form.sunButton->isChecked()) return mist::Weather::Sun;
    if (form.rainButton->isChecked()) return mist::Weather::Rain;
    return mist::Weather::Snow;
}

QRadioButton* WeatherButton(const MainWindow& form, mist::Weather weather) {
    switch (weather) {
        case mist::Weather::Sun:
            return form.sunButton;
        case mist::Weather::Rain:
            return form.rainButton;
        case mist::Weather::Snow:
            return form.snowButton;
    }
    return form.sunButton;
}

// The search methods only ever fill slots, in order; the run emptied them beforehand.
void FindEnvFiles(MainWindow& form, const std::string& envFolder, mist::Weather weather) {
    form.EnvFileMissing = false;
    form.MultiFileMode = false;
    const mist::EnvFiles found = mist::FindEnvFiles(envFolder, weather);
    std::string* fields[] = {&form.EnvFile1, &form.EnvFile2, &form.EnvFile3, &form.EnvFile4};
    for (std::size_t i = 0; i < found.names.size(); ++i) {
        if (!found.names[i].empty()) *fields[i] = found.names[i];
    }
    form.MultiFileMode = found.multiFileMode;
    if (found.missing) {
        platform::ShowErrorMessage(form.RouteErrMsg, form.ErrorTitle);
        form.EnvFileMissing = true;
    }
}

// Fifteen centred lines; each takes the colour and style current when it is added, and the
// style, once bold and underlined, stays so.
void WriteSummary(MainWindow& form) {
    const QColor maroon(128, 0, 0), blue(0, 0, 255), grey(128, 128, 128);
    QTextCharFormat current;
    QTextCursor cursor(form.summaryView->document());
    bool first = true;
    auto line = [&](const QString& text) {
        cursor.movePosition(QTextCursor::End);
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        if (first) {
            cursor.setBlockFormat(centred);
            cursor.setBlockCharFormat(current);
            first = false;
        } else {
            cursor.insertBlock(centred, current);
        }
        cursor.insertText(text, current);
    };
    auto boldUnderlined = [&] {
        current.setFontWeight(QFont::Bold);
        current.setFontUnderline(true);
    };
    const QString hyphens(33, QLatin1Char('-'));
    auto heading = [&](const std::string& text, const QString& value) {
        boldUnderlined();
        line(widgets::ToQ(text));
        current.setForeground(grey);
        line(value);
        current.setForeground(blue);
        line(hyphens);
    };

    current.setForeground(maroon);
    boldUnderlined();
    line(widgets::ToQ(form.InfoTitleText));
    line(QString());
    current.setForeground(blue);
    line(hyphens);
    heading(form.InfoRouteText, widgets::PathToQ(form.RouteName));
    heading(form.InfoWeatherText, WeatherButton(form, CheckedWeather(form))->text());
    heading(form.InfoVisibilityText, form.visibilityLabel->text());
    heading(form.InfoFogStateText, form.fogStateLabel->text());
}

void ShowCompletionPage(MainWindow& form) {
    form.choosingPage->hide();
    form.exitAction->setEnabled(false);
    form.optionsMenu->menuAction()->setVisible(false);
    form.SetCloseBox(false);
    form.FilesReplaced = true;
}

void ShowChoosingPage(MainWindow& form) {
    form.choosingPage->show();
    form.exitAction->setEnabled(true);
    form.SetCloseBox(true);
    form.FilesReplaced = false;
    form.summaryView->clear();
    form.optionsMenu->menuAction()->setVisible(true);
}

// One path per line after the message; '%' doubled so that no file name is read as a format.
std::string PathList(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) {
        list += '\n';
        for (char c : path) {
            list += c;
            if (c == '%') list += '%';
        }
    }
    return list;
}

// Environment files of a route, by full path.
std::vector<std::string> RouteFiles(const std::string& installRoot, const std::string& route,
                                    const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    for (const std::string& name : names)
        paths.push_back(platform::JoinPath(mist::RouteEnvFolder(installRoot, route), name));
    return paths;
}

// Sets aside a record in Dump that cannot be trusted, and says so.
void SetAsideRefusedRecord(MainWindow& form) {
    if (const auto aside = mist::SetAsideRefusedRunRecord())
        platform::ShowErrorMessage(form.RecordRefusedMsg + PathList({*aside}), form.ErrorTitle);
}

// The completion page for a run that is on disk already, with the run's own controls and summary.
void ShowRun(MainWindow& form, const mist::RunRecord& record) {
    form.RouteName = record.route;
    std::string* fields[] = {&form.EnvFile1, &form.EnvFile2, &form.EnvFile3, &form.EnvFile4};
    for (std::size_t i = 0; i < 4; ++i)
        *fields[i] = i < record.files.size() ? record.files[i] : "";
    form.MultiFileMode = record.multiFileMode;
    WeatherButton(form, record.weather)->setChecked(true);
    form.visibilityBar->setValue(record.metres);
    form.onVisibilityChanged();
    form.summaryView->clear();
    WriteSummary(form);
    ShowCompletionPage(form);
    form.CurrentRun = record;
}

// Names in a box every file of a restore that was not put back.
void ReportNotPutBack(MainWindow& form, const std::string& installRoot, const std::string& route,
                      const mist::RestoreOutcome& outcome) {
    if (outcome.Complete()) return;
    std::vector<std::string> names = outcome.retry;
    names.insert(names.end(), outcome.lost.begin(), outcome.lost.end());
    platform::ShowErrorMessage(
        form.RestoreFailedMsg + PathList(RouteFiles(installRoot, route, names)), form.ErrorTitle);
}

// Puts the route back; false while files whose backups are there still hold fog (the run then
// stays, narrowed to them, for another try).
bool Restore(MainWindow& form, const mist::RunRecord& record) {
    const mist::RestoreOutcome outcome = mist::RestoreFog(record);
    ReportNotPutBack(form, record.installRoot, record.route, outcome);
    if (outcome.retry.empty()) return true;
    form.CurrentRun = record;
    form.CurrentRun->files = outcome.retry;
    return false;
}

}  // namespace

bool MainWindow::OpenUnrestoredRun() {
    SetAsideRefusedRecord(*this);
    const auto record = mist::LoadRunRecord();
    if (!record) return false;
    ShowRun(*this, *record);
    return true;
}

void MainWindow::ReportUnrestoredRun() const {
    platform::ShowErrorMessage(RunPendingMsg, ErrorTitle);
}

bool MainWindow::ResumeUnrestoredRun() {
    if (!OpenUnrestoredRun()) return false;
    ReportUnrestoredRun();
    return true;
}

void MainWindow::CheckEnvFolder(const std::string& envFolder) {
    EnvFolderMissing = false;
    if (!mist::EnvFolderFound(envFolder)) {
        platform::ShowErrorMessage(RouteNotFoundMsg, ErrorTitle);
        EnvFolderMissing = true;
    }
}

void MainWindow::FindSunEnvFiles(const std::string& envFolder) {
    FindEnvFiles(*this, envFolder, mist::Weather::Sun);
}

void MainWindow::FindRainEnvFiles(const std::string& envFolder) {
    FindEnvFiles(*this, envFolder, mist::Weather::Rain);
}

void MainWindow::FindSnowEnvFiles(const std::string& envFolder) {
    FindEnvFiles(*this, envFolder, mist::Weather::Snow);
}

void MainWindow::onMakeClicked() {
    summaryView->clear();
    FilesReplaced = false;
    const QString routeText = routeBox->currentText();
    RouteName = widgets::PathFromQ(routeText);
    EnvFile1.clear();
    EnvFile2.clear();
    EnvFile3.clear();
    EnvFile4.clear();
    if (routeText.isEmpty() || routeText == widgets::ToQ(NoRouteText)) {
        platform::ShowErrorMessage(NoRouteMsg, ErrorTitle);
        return;
    }
    // A path in the box would take the run outside the Routes and backup folders.
    if (!mist::IsPlainName(RouteName)) {
        platform::ShowErrorMessage(RouteNotFoundMsg, ErrorTitle);
        return;
    }
    const std::string envFolder = mist::RouteEnvFolder(InstallRoot, RouteName);
    CheckEnvFolder(envFolder);
    if (EnvFolderMissing) return;

    const mist::Weather weather = CheckedWeather(*this);
    const std::string searchFolder = envFolder + platform::kPathSep;
    switch (weather) {
        case mist::Weather::Sun:
            FindSunEnvFiles(searchFolder);
            break;
        case mist::Weather::Rain:
            FindRainEnvFiles(searchFolder);
            break;
        case mist::Weather::Snow:
            FindSnowEnvFiles(searchFolder);
            break;
    }
    if (EnvFileMissing) return;  // nothing to fog: no backup folder, texture or summary

    mist::FogRunRequest request{InstallRoot, RouteName, weather, visibilityBar->value(), {}};
    request.found.names = {EnvFile1, EnvFile2, EnvFile3, EnvFile4};
    request.found.multiFileMode = MultiFileMode;
    mist::RunReport report;
    switch (mist::RunFog(request, {}, &report)) {
        case mist::RunOutcome::Installed:
            break;
        case mist::RunOutcome::UnrestoredRun:  // left by another copy of the program
            ResumeUnrestoredRun();
            return;
        case mist::RunOutcome::BackupFailed:
            platform::ShowErrorMessage(BackupFailedMsg, ErrorTitle);
            return;
        case mist::RunOutcome::InUse:
            platform::ShowErrorMessage(InUseMsg, ErrorTitle);
            return;
        case mist::RunOutcome::InstallFailed: {
            std::vector<std::string> files =
                RouteFiles(InstallRoot, RouteName, report.notInstalled);
            if (report.missingFogFile) files.push_back(*report.missingFogFile);
            platform::ShowErrorMessage(InstallFailedMsg + PathList(files), ErrorTitle);
            // Fog that could not be taken out again keeps the run open, as after a restore that
            // could not finish.
            ReportNotPutBack(*this, InstallRoot, RouteName, report.undo);
            if (!report.undo.retry.empty()) {
                if (const auto left = mist::LoadRunRecord()) ShowRun(*this, *left);
            }
            return;
        }
        case mist::RunOutcome::BadRouteName:
        case mist::RunOutcome::NothingFound:
            return;  // refused above already
    }
    CurrentRun = report.record;
    WriteSummary(*this);
    ShowCompletionPage(*this);
}

void MainWindow::onRestoreClicked() {
    SetAsideRefusedRecord(*this);
    // The record on disk knows best what is left (an earlier try may have put files back); when
    // it is gone or was set aside, the window's own run is restored. A route already put back
    // (by another copy of the program) is put back again unchanged, and nothing is reported.
    std::optional<mist::RunRecord> run = mist::LoadRunRecord();
    if (!run) run = CurrentRun;
    if (run && !Restore(*this, *run)) return;  // the page stays for another try
    CurrentRun.reset();
    ShowChoosingPage(*this);
}

void MainWindow::FormCloseQuery(bool& CanClose) {
    if (FilesReplaced) {
        platform::ShowErrorMessage(NoCloseMsg, CloseTitle);
        CanClose = false;
    } else {
        CanClose = true;
    }
}
