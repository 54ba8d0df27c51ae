// The fog run of the page: discovery, the make button, the summary and the restore.
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QStringList>
#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>

#include "core/fog/discovery.h"
#include "core/fog/fog_run.h"
#include "core/fog/route_recovery.h"
#include "core/install/installation.h"
#include "core/platform/messages.h"
#include "core/platform/paths.h"
#include "gui/fog/fog_run_page.h"
#include "gui/fog/run_progress.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/track_bar.h"

namespace {

// One path per line after the message, none of them read as a format.
std::string PathList(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) list += '\n' + platform::LiteralForFormat(path);
    return list;
}

}  // namespace

fog::Weather FogRunPage::checkedWeather() const {
    if (sunButton_->isChecked()) return fog::Weather::Sun;
    if (rainButton_->isChecked()) return fog::Weather::Rain;
    return fog::Weather::Snow;
}

QRadioButton* FogRunPage::weatherButton(fog::Weather weather) const {
    switch (weather) {
        case fog::Weather::Sun:
            return sunButton_;
        case fog::Weather::Rain:
            return rainButton_;
        case fog::Weather::Snow:
            return snowButton_;
    }
    return sunButton_;
}

// Fifteen centred lines; each takes the colour and style current when it is added, and the
// style, once bold and underlined, stays so.
void FogRunPage::writeSummary() {
    const QColor maroon(128, 0, 0), blue(0, 0, 255), grey(128, 128, 128);
    QTextCharFormat current;
    QTextCursor cursor(summaryView_->document());
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
    line(widgets::ToQ(texts_.text(settings::Text::SummaryTitle)));
    line(QString());
    current.setForeground(blue);
    line(hyphens);
    heading(texts_.text(settings::Text::SummaryRoute), widgets::PathToQ(session_.route()));
    heading(texts_.text(settings::Text::SummaryWeather), weatherButton(checkedWeather())->text());
    heading(texts_.text(settings::Text::SummaryVisibility), visibilityLabel_->text());
    heading(texts_.text(settings::Text::SummaryFogState), fogStateLabel_->text());
    const std::optional<fog::OpenRailsSummary>& openRails = session_.openRailsSummary();
    if (!openRails) return;
    heading(texts_.text(settings::Text::SummaryOpenRailsActivities),
            QString::number(openRails->activityCopies));
    heading(texts_.text(settings::Text::SummaryOpenRailsWeather),
            openRails->weatherFile.empty() ? QStringLiteral("-")
                                           : widgets::PathToQ(openRails->weatherFile));
    if (!openRails->skipped.empty()) {
        QStringList names;
        for (const std::string& name : openRails->skipped) names << widgets::PathToQ(name);
        heading(texts_.text(settings::Text::SummaryOpenRailsSkipped),
                names.join(QStringLiteral(", ")));
    }
    if (openRails->contentFolder)
        heading(texts_.text(settings::Text::SummaryOpenRailsWhere),
                widgets::ToQ(texts_.text(openRails->activityCopies
                                             ? settings::Text::SummaryOpenRailsList
                                             : settings::Text::SummaryOpenRailsWeatherOnly)));
}

void FogRunPage::showCompletionPage() {
    choosingPage_->hide();
    emit filesReplacedChanged(true);
}

void FogRunPage::showChoosingPage() {
    session_.close();
    choosingPage_->show();
    emit filesReplacedChanged(false);
    summaryView_->clear();
}

std::optional<fog::RunRecord> FogRunPage::setAsideRefusedRecord() {
    std::optional<std::string> aside;
    std::optional<fog::RunRecord> record = fog::Session::LoadRecord(aside);
    if (aside)
        platform::ShowErrorMessage(texts_.text(settings::Text::RecordInvalid) + PathList({*aside}),
                                   texts_.text(settings::Text::ErrorTitle));
    return record;
}

// The completion page for a run that is on disk already, with the run's own controls and summary.
void FogRunPage::showRun(const fog::RunRecord& record) {
    session_.open(record);
    weatherButton(record.weather)->setChecked(true);
    visibilityBar_->setValue(record.metres);
    onVisibilityChanged();
    summaryView_->clear();
    writeSummary();
    showCompletionPage();
}

// Names in a box every file of a restore that was not put back, and every added texture that was
// left because it changed.
void FogRunPage::reportNotPutBack(const std::string& installRoot, const std::string& route,
                                  const fog::RestoreOutcome& outcome) {
    if (outcome.Complete()) return;
    std::vector<std::string> names = outcome.retry;
    names.insert(names.end(), outcome.lost.begin(), outcome.lost.end());
    names.insert(names.end(), outcome.keptFiles.begin(), outcome.keptFiles.end());
    std::vector<std::string> paths = fog::RouteFiles(installRoot, route, names);
    paths.insert(paths.end(), outcome.keptTextures.begin(), outcome.keptTextures.end());
    paths.insert(paths.end(), outcome.addedRetry.begin(), outcome.addedRetry.end());
    paths.insert(paths.end(), outcome.keptAdded.begin(), outcome.keptAdded.end());
    platform::ShowErrorMessage(texts_.text(settings::Text::RestoreFailed) + PathList(paths),
                               texts_.text(settings::Text::ErrorTitle));
}

// Puts the route back; false while files whose backups are there still hold fog (the run then
// stays, narrowed to them, for another try).
bool FogRunPage::restore(const fog::RunRecord& record) {
    fog::RestoreOutcome outcome;
    bool finished = false;
    {
        RunProgress progress(this, widgets::ToQ(texts_.text(settings::Text::RestoreProgress)),
                             StepCount::ForRestore(record));
        finished = session_.restore(record, progress.hook(), outcome);
    }
    reportNotPutBack(record.installRoot, record.route, outcome);
    return finished;
}

// Puts back the backups of a route whose record is gone, as a restore of the record worked out
// for it; what could not be put back stays open on the completion page, as after any restore.
void FogRunPage::recoverRoute(const fog::RunRecord& record) {
    std::optional<fog::RestoreOutcome> outcome;
    {
        RunProgress progress(this, widgets::ToQ(texts_.text(settings::Text::RestoreProgress)),
                             StepCount::ForRestore(record));
        outcome = fog::RecoverRoute(record, progress.hook());
    }
    if (!outcome) {
        platform::ShowErrorMessage(
            texts_.text(settings::Text::RestoreFailed) +
                PathList(fog::RouteFiles(record.installRoot, record.route, record.files)),
            texts_.text(settings::Text::ErrorTitle));
        return;
    }
    reportNotPutBack(record.installRoot, record.route, *outcome);
    if (outcome->retry.empty() && outcome->addedRetry.empty()) return;
    if (const auto left = fog::LoadRunRecord()) showRun(*left);
}

bool FogRunPage::openUnrestoredRun() {
    const auto record = setAsideRefusedRecord();
    if (!record) return false;
    showRun(*record);
    return true;
}

void FogRunPage::reportUnrestoredRun() const {
    platform::ShowErrorMessage(texts_.text(settings::Text::RunStillOpen),
                               texts_.text(settings::Text::ErrorTitle));
}

bool FogRunPage::resumeUnrestoredRun() {
    if (!openUnrestoredRun()) return false;
    reportUnrestoredRun();
    return true;
}

void FogRunPage::onMakeClicked() {
    summaryView_->clear();
    const fog::Weather weather = checkedWeather();
    if (!takeChosenRoute(weather)) return;  // nothing to fog: no backup folder, texture or summary

    // A record that cannot be used is reported and set aside now, not found in the run's way.
    setAsideRefusedRecord();
    const fog::FogRunRequest request =
        session_.request(weather, visibilityBar_->value(), texts_.text(settings::Text::FogWord));
    fog::RunReport report;
    fog::RunOutcome outcome;
    {
        RunProgress progress(this, widgets::ToQ(texts_.text(settings::Text::MakeProgress)),
                             StepCount::ForRun(request));
        outcome = session_.make(request, progress.hook(), report);
    }
    if (!reportRunOutcome(outcome, report)) return;
    writeSummary();
    showCompletionPage();
}

bool FogRunPage::takeChosenRoute(fog::Weather weather) {
    const QString routeText = routeBox_->currentText();
    session_.clearRoute();
    if (routeText.isEmpty() ||
        routeText == widgets::ToQ(texts_.text(settings::Text::RoutePlaceholder))) {
        platform::ShowErrorMessage(texts_.text(settings::Text::NoRoute),
                                   texts_.text(settings::Text::ErrorTitle));
        return false;
    }
    switch (session_.chooseRoute(widgets::PathFromQ(routeText), weather)) {
        case fog::RouteChoice::Chosen:
            return true;
        case fog::RouteChoice::NotFound:
            platform::ShowErrorMessage(texts_.text(settings::Text::RouteNotFound),
                                       texts_.text(settings::Text::ErrorTitle));
            return false;
        case fog::RouteChoice::Unusable:
            platform::ShowErrorMessage(texts_.text(settings::Text::RouteUnusable),
                                       texts_.text(settings::Text::ErrorTitle));
            return false;
    }
    return false;
}

bool FogRunPage::reportRunOutcome(fog::RunOutcome outcome, const fog::RunReport& report) {
    const std::string& title = texts_.text(settings::Text::ErrorTitle);
    const std::string& installRoot = session_.installRoot();
    const std::string& route = session_.route();
    switch (outcome) {
        case fog::RunOutcome::Installed:
            return true;
        case fog::RunOutcome::UnrestoredRun:  // left by another copy of the program
            resumeUnrestoredRun();
            return false;
        case fog::RunOutcome::AlreadyFogged: {
            const std::string files = PathList(fog::RouteFiles(installRoot, route, report.fogged));
            if (!report.recovery) {
                platform::ShowErrorMessage(texts_.text(settings::Text::AlreadyFogged) + files,
                                           title);
            } else if (platform::AskYesNo(texts_.text(settings::Text::AlreadyFoggedPutBack) + files,
                                          title)) {
                recoverRoute(*report.recovery);
            }
            return false;
        }
        case fog::RunOutcome::BackupFailed:
            platform::ShowErrorMessage(texts_.text(settings::Text::BackupFailed), title);
            return false;
        case fog::RunOutcome::InUse:
            platform::ShowErrorMessage(texts_.text(settings::Text::AlreadyRunning), title);
            return false;
        case fog::RunOutcome::LinkedFolder:
            platform::ShowErrorMessage(texts_.text(settings::Text::FolderLink) +
                                           PathList({fog::RouteEnvFolder(installRoot, route)}),
                                       title);
            return false;
        case fog::RunOutcome::InstallFailed: {
            std::vector<std::string> files =
                fog::RouteFiles(installRoot, route, report.notInstalled);
            if (report.missingFogFile) files.push_back(*report.missingFogFile);
            platform::ShowErrorMessage(texts_.text(settings::Text::FogFailed) + PathList(files),
                                       title);
            // Fog that could not be taken out again keeps the run open, as after a restore that
            // could not finish.
            reportNotPutBack(installRoot, route, report.undo);
            if (!report.undo.retry.empty()) {
                if (const auto left = fog::LoadRunRecord()) showRun(*left);
            }
            return false;
        }
        case fog::RunOutcome::BadRouteName:
        case fog::RunOutcome::NothingFound:
            return false;  // refused before the run already
    }
    return false;
}

void FogRunPage::onRestoreClicked() {
    // The record on disk knows best what is left (an earlier try may have put files back); when
    // it is gone or was set aside, the window's own run is restored. A route already put back
    // (by another copy of the program) is put back again unchanged, and nothing is reported.
    std::optional<fog::RunRecord> run = setAsideRefusedRecord();
    if (!run) run = session_.currentRun();
    if (run && !restore(*run)) return;  // the page stays for another try
    showChoosingPage();
}
