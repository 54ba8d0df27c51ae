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
#include "core/fog/restore.h"
#include "core/fog/route_recovery.h"
#include "core/fog/run_record.h"
#include "core/install/installation.h"
#include "core/platform/messages.h"
#include "core/platform/paths.h"
#include "core/settings/settings_file.h"
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

// Environment files of a route, by full path.
std::vector<std::string> RouteFiles(const std::string& installRoot, const std::string& route,
                                    const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    for (const std::string& name : names)
        paths.push_back(platform::JoinPath(fog::RouteEnvFolder(installRoot, route), name));
    return paths;
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

void FogRunPage::findEnvFiles(const std::string& envFolder, fog::Weather weather) {
    envFileMissing_ = false;
    multiFileMode_ = false;
    const fog::EnvFiles found = fog::FindEnvFiles(envFolder, weather);
    for (std::size_t i = 0; i < found.names.size(); ++i) {
        if (!found.names[i].empty()) envFiles_[i] = found.names[i];
    }
    multiFileMode_ = found.multiFileMode;
    if (found.missing) {
        platform::ShowErrorMessage(texts_.text("Meldingen/Route_err"),
                                   texts_.text("Meldingen/Titel"));
        envFileMissing_ = true;
    }
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
    line(widgets::ToQ(texts_.text("Infobox tekst/titel")));
    line(QString());
    current.setForeground(blue);
    line(hyphens);
    heading(texts_.text("Infobox tekst/route"), widgets::PathToQ(routeName_));
    heading(texts_.text("Infobox tekst/het weer"), weatherButton(checkedWeather())->text());
    heading(texts_.text("Infobox tekst/zicht"), visibilityLabel_->text());
    heading(texts_.text("Infobox tekst/mist Toestand"), fogStateLabel_->text());
    if (!openRailsSummary_) return;
    heading(texts_.text("Infobox tekst/open rails activiteiten"),
            QString::number(openRailsSummary_->activityCopies));
    heading(texts_.text("Infobox tekst/open rails weerbestand"),
            openRailsSummary_->weatherFile.empty()
                ? QStringLiteral("-")
                : widgets::PathToQ(openRailsSummary_->weatherFile));
    if (!openRailsSummary_->skipped.empty()) {
        QStringList names;
        for (const std::string& name : openRailsSummary_->skipped) names << widgets::PathToQ(name);
        heading(texts_.text("Infobox tekst/open rails niet gelezen"),
                names.join(QStringLiteral(", ")));
    }
    if (openRailsSummary_->contentFolder)
        heading(texts_.text("Infobox tekst/open rails waar"),
                widgets::ToQ(texts_.text(openRailsSummary_->activityCopies
                                             ? "Infobox tekst/open rails lijst"
                                             : "Infobox tekst/open rails alleen weer")));
}

namespace {

// The last part of an added file's path: the name the summary shows.
std::string LastPart(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

}  // namespace

void FogRunPage::showCompletionPage() {
    choosingPage_->hide();
    filesReplaced_ = true;
    emit filesReplacedChanged(true);
}

void FogRunPage::showChoosingPage() {
    choosingPage_->show();
    filesReplaced_ = false;
    emit filesReplacedChanged(false);
    summaryView_->clear();
}

// The record in Dump, read once; one that cannot be trusted is set aside, and that is said.
std::optional<fog::RunRecord> FogRunPage::setAsideRefusedRecord() {
    std::optional<std::string> aside;
    std::optional<fog::RunRecord> record = fog::LoadOrSetAsideRunRecord(aside);
    if (aside)
        platform::ShowErrorMessage(texts_.text("Meldingen/Herstel_ongeldig") + PathList({*aside}),
                                   texts_.text("Meldingen/Titel"));
    return record;
}

// The completion page for a run that is on disk already, with the run's own controls and summary.
void FogRunPage::showRun(const fog::RunRecord& record) {
    openRailsSummary_.reset();
    if (!record.added.empty()) {
        const fog::OpenRailsFiles added = fog::AddedForOpenRails(record);
        openRailsSummary_ = {added.activityCopies,
                             LastPart(added.weatherFile),
                             {},
                             install::IsContentFolder(record.installRoot)};
    }
    routeName_ = record.route;
    for (std::size_t i = 0; i < envFiles_.size(); ++i)
        envFiles_[i] = i < record.files.size() ? record.files[i] : "";
    multiFileMode_ = record.multiFileMode;
    weatherButton(record.weather)->setChecked(true);
    visibilityBar_->setValue(record.metres);
    onVisibilityChanged();
    summaryView_->clear();
    writeSummary();
    showCompletionPage();
    currentRun_ = record;
}

// Names in a box every file of a restore that was not put back, and every added texture that was
// left because it changed.
void FogRunPage::reportNotPutBack(const std::string& installRoot, const std::string& route,
                                  const fog::RestoreOutcome& outcome) {
    if (outcome.Complete()) return;
    std::vector<std::string> names = outcome.retry;
    names.insert(names.end(), outcome.lost.begin(), outcome.lost.end());
    names.insert(names.end(), outcome.keptFiles.begin(), outcome.keptFiles.end());
    std::vector<std::string> paths = RouteFiles(installRoot, route, names);
    paths.insert(paths.end(), outcome.keptTextures.begin(), outcome.keptTextures.end());
    paths.insert(paths.end(), outcome.addedRetry.begin(), outcome.addedRetry.end());
    paths.insert(paths.end(), outcome.keptAdded.begin(), outcome.keptAdded.end());
    platform::ShowErrorMessage(texts_.text("Meldingen/Herstel_mislukt") + PathList(paths),
                               texts_.text("Meldingen/Titel"));
}

// Puts the route back; false while files whose backups are there still hold fog (the run then
// stays, narrowed to them, for another try).
bool FogRunPage::restore(const fog::RunRecord& record) {
    fog::RestoreOutcome outcome;
    {
        RunProgress progress(this, widgets::ToQ(texts_.text("Voltooi scherm/Voortgang")),
                             StepCount::ForRestore(record));
        outcome = fog::RestoreFog(record, progress.hook());
    }
    reportNotPutBack(record.installRoot, record.route, outcome);
    if (outcome.retry.empty() && outcome.addedRetry.empty()) return true;
    currentRun_ = record;
    currentRun_->files = outcome.retry;
    const std::string routeFolder = fog::RouteFolder(record.installRoot, record.route);
    std::erase_if(currentRun_->added, [&](const fog::AddedFile& file) {
        const std::string location = fog::AddedFileLocation(routeFolder, file.path);
        return std::find(outcome.addedRetry.begin(), outcome.addedRetry.end(), location) ==
               outcome.addedRetry.end();
    });
    return false;
}

// Puts back the backups of a route whose record is gone, as a restore of the record worked out
// for it; what could not be put back stays open on the completion page, as after any restore.
void FogRunPage::recoverRoute(const fog::RunRecord& record) {
    std::optional<fog::RestoreOutcome> outcome;
    {
        RunProgress progress(this, widgets::ToQ(texts_.text("Voltooi scherm/Voortgang")),
                             StepCount::ForRestore(record));
        outcome = fog::RecoverRoute(record, progress.hook());
    }
    if (!outcome) {
        platform::ShowErrorMessage(
            texts_.text("Meldingen/Herstel_mislukt") +
                PathList(RouteFiles(record.installRoot, record.route, record.files)),
            texts_.text("Meldingen/Titel"));
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
    platform::ShowErrorMessage(texts_.text("Meldingen/Run_open"), texts_.text("Meldingen/Titel"));
}

bool FogRunPage::resumeUnrestoredRun() {
    if (!openUnrestoredRun()) return false;
    reportUnrestoredRun();
    return true;
}

void FogRunPage::checkEnvFolder(const std::string& envFolder) {
    envFolderMissing_ = false;
    if (!fog::EnvFolderFound(envFolder)) {
        platform::ShowErrorMessage(texts_.text("Meldingen/Route_niet_gevonden"),
                                   texts_.text("Meldingen/Titel"));
        envFolderMissing_ = true;
    }
}

void FogRunPage::onMakeClicked() {
    summaryView_->clear();
    filesReplaced_ = false;
    if (!takeChosenRoute()) return;
    const fog::Weather weather = checkedWeather();
    findEnvFiles(fog::RouteEnvFolder(installRoot_, routeName_) + platform::kPathSep, weather);
    if (envFileMissing_) return;  // nothing to fog: no backup folder, texture or summary

    // A record that cannot be used is reported and set aside now, not found in the run's way.
    setAsideRefusedRecord();
    const fog::FogRunRequest request = runRequest(weather);
    openRailsSummary_.reset();
    fog::RunReport report;
    fog::RunOutcome outcome;
    {
        RunProgress progress(this, widgets::ToQ(texts_.text("Hoofd Scherm/Voortgang")),
                             StepCount::ForRun(request));
        outcome = fog::RunFog(request, progress.hook(), &report);
    }
    if (!reportRunOutcome(outcome, report)) return;
    showInstalledRun(request, report);
}

bool FogRunPage::takeChosenRoute() {
    const QString routeText = routeBox_->currentText();
    routeName_ = widgets::PathFromQ(routeText);
    for (std::string& slot : envFiles_) slot.clear();
    if (routeText.isEmpty() || routeText == widgets::ToQ(texts_.text("Hoofd Scherm/RouteBox"))) {
        platform::ShowErrorMessage(texts_.text("Meldingen/Geen_Route"),
                                   texts_.text("Meldingen/Titel"));
        return false;
    }
    // A path in the box would take the run outside the Routes and backup folders.
    if (!fog::IsPlainName(routeName_)) {
        platform::ShowErrorMessage(texts_.text("Meldingen/Route_niet_gevonden"),
                                   texts_.text("Meldingen/Titel"));
        return false;
    }
    checkEnvFolder(fog::RouteEnvFolder(installRoot_, routeName_));
    return !envFolderMissing_;
}

fog::FogRunRequest FogRunPage::runRequest(fog::Weather weather) const {
    fog::FogRunRequest request{installRoot_, routeName_, weather, visibilityBar_->value(), {}};
    request.found.names = envFiles_;
    request.found.multiFileMode = multiFileMode_;
    // Read afresh, as every setting: the file is the only copy. Open Rails never takes its fog
    // from the environment files, so a content folder gets its files whatever the option says.
    request.openRails =
        install::IsContentFolder(installRoot_) ||
        settings::ReadBool(settings::kProgramSection, settings::kOpenRailsKey, false);
    request.fogWord = texts_.text("Infobox tekst/mist woord");
    return request;
}

bool FogRunPage::reportRunOutcome(fog::RunOutcome outcome, const fog::RunReport& report) {
    const std::string& title = texts_.text("Meldingen/Titel");
    switch (outcome) {
        case fog::RunOutcome::Installed:
            return true;
        case fog::RunOutcome::UnrestoredRun:  // left by another copy of the program
            resumeUnrestoredRun();
            return false;
        case fog::RunOutcome::AlreadyFogged: {
            const std::string files = PathList(RouteFiles(installRoot_, routeName_, report.fogged));
            if (!report.recovery) {
                platform::ShowErrorMessage(texts_.text("Meldingen/Al_mist") + files, title);
            } else if (platform::AskYesNo(texts_.text("Meldingen/Al_mist_terugzetten") + files,
                                          title)) {
                recoverRoute(*report.recovery);
            }
            return false;
        }
        case fog::RunOutcome::BackupFailed:
            platform::ShowErrorMessage(texts_.text("Meldingen/Backup_mislukt"), title);
            return false;
        case fog::RunOutcome::InUse:
            platform::ShowErrorMessage(texts_.text("Meldingen/Al_gestart"), title);
            return false;
        case fog::RunOutcome::LinkedFolder:
            platform::ShowErrorMessage(
                texts_.text("Meldingen/Map_koppeling") +
                    PathList({fog::RouteEnvFolder(installRoot_, routeName_)}),
                title);
            return false;
        case fog::RunOutcome::InstallFailed: {
            std::vector<std::string> files =
                RouteFiles(installRoot_, routeName_, report.notInstalled);
            if (report.missingFogFile) files.push_back(*report.missingFogFile);
            platform::ShowErrorMessage(texts_.text("Meldingen/Mist_mislukt") + PathList(files),
                                       title);
            // Fog that could not be taken out again keeps the run open, as after a restore that
            // could not finish.
            reportNotPutBack(installRoot_, routeName_, report.undo);
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

void FogRunPage::showInstalledRun(const fog::FogRunRequest& request, const fog::RunReport& report) {
    currentRun_ = report.record;
    if (request.openRails) {
        const fog::OpenRailsFiles added = fog::AddedForOpenRails(report.record);
        openRailsSummary_ = {added.activityCopies, LastPart(added.weatherFile),
                             report.unreadableActivities,
                             install::IsContentFolder(request.installRoot)};
        for (const std::string& path : report.notAdded)
            openRailsSummary_->skipped.push_back(LastPart(path));
    }
    writeSummary();
    showCompletionPage();
}

void FogRunPage::onRestoreClicked() {
    // The record on disk knows best what is left (an earlier try may have put files back); when
    // it is gone or was set aside, the window's own run is restored. A route already put back
    // (by another copy of the program) is put back again unchanged, and nothing is reported.
    std::optional<fog::RunRecord> run = setAsideRefusedRecord();
    if (!run) run = currentRun_;
    if (run && !restore(*run)) return;  // the page stays for another try
    currentRun_.reset();
    showChoosingPage();
}
