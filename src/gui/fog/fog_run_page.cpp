#include "gui/fog/fog_run_page.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>
#include <optional>

#include "core/fog/discovery.h"
#include "core/fog/fog_run.h"
#include "core/fog/restore.h"
#include "core/fog/route_recovery.h"
#include "core/fog/run_record.h"
#include "core/fog/visibility.h"
#include "core/install/installation.h"
#include "core/platform/files.h"
#include "core/platform/messages.h"
#include "core/platform/paths.h"
#include "core/settings/texts.h"
#include "gui/fog/run_progress.h"
#include "gui/widgets/click_through.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/label_text.h"
#include "gui/widgets/qt_color.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/track_bar.h"
#include "ui_fog_run_page.h"

using widgets::ToQ;
using widgets::WindowFont;

namespace {

void SetTextColor(QWidget* w, widgets::ColorCode color) {
    QPalette pal = w->palette();
    const QColor c = widgets::ToQColor(color);
    pal.setColor(QPalette::WindowText, c);
    pal.setColor(QPalette::Text, c);
    pal.setColor(QPalette::ButtonText, c);
    w->setPalette(pal);
}

}  // namespace

FogRunPage::FogRunPage(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::FogRunPage>()) {
    ui_->setupUi(this);
    setUpControls();
}

FogRunPage::~FogRunPage() = default;

void FogRunPage::setUpControls() {
    using namespace widgets::colors;
    ui_->completionLabel->setFont(WindowFont(13));
    ui_->summaryView->setFont(WindowFont(13, "Arial"));
    ui_->summaryView->setAlignment(Qt::AlignHCenter);
    ui_->summaryView->setTextColor(widgets::ToQColor(maroon));
    ui_->visibilityLabel->resize(ui_->visibilityLabel->sizeHint());
    ui_->fogStateCaption->resize(ui_->fogStateCaption->sizeHint());
    // The state's colour on black; it follows the bar, which starts at 75 m.
    SetTextColor(ui_->fogStateLabel, fog::kFogStateColors[2]);
    ui_->fogStateLabel->setAutoFillBackground(true);
    QPalette pal = ui_->fogStateLabel->palette();
    pal.setColor(QPalette::Window, widgets::ToQColor(black));
    ui_->fogStateLabel->setPalette(pal);

    widgets::SetLabelPartner(*ui_->routeLabel, *ui_->routeBox);
    widgets::SetLabelPartner(*ui_->weatherLabel, *ui_->weatherGroup);
    widgets::SetLabelPartner(*ui_->visibilityCaption, *ui_->visibilityBar);
    widgets::SetLabelPartner(*ui_->fogStateCaption, *ui_->visibilityBar);
    widgets::SetLabelPartner(*ui_->completionLabel, *ui_->restoreButton);
    // The restore button lies under the make button, and the make button under it.
    widgets::IgnoreClickThrough(*ui_->choosingPage, {ui_->restoreButton, ui_->makeButton});

    connect(ui_->restoreButton, &QPushButton::clicked, this,
            platform::Guarded([this] { onRestoreClicked(); }));
    // The change handler runs for the user's changes only: typing or picking an entry.
    connect(ui_->routeBox->lineEdit(), &QLineEdit::textEdited, this,
            platform::Guarded([this] { onRouteEdited(); }));
    connect(ui_->routeBox, &QComboBox::activated, this,
            platform::Guarded([this] { onRouteEdited(); }));
    connect(ui_->visibilityBar, &widgets::TrackBar::valueEdited, this,
            platform::Guarded([this] { onVisibilityChanged(); }));
    connect(ui_->makeButton, &QPushButton::clicked, this,
            platform::Guarded([this] { onMakeClicked(); }));
}

void FogRunPage::setTexts(const settings::WindowTexts& texts) {
    texts_ = texts;
    ui_->fogStateCaption->resize(ui_->fogStateCaption->sizeHint());  // a label as wide as its text
    updateVisibilityDisplay();
}

void FogRunPage::followVisibilityMouse() {
    ui_->visibilityBar->setMousePressHandler([this](Qt::MouseButton button, int x, int y) {
        platform::RunGuarded([=, this] { onVisibilityMousePressed(button, x, y); });
    });
}

// The route list: the folders under <simulator>/Routes.
void FogRunPage::showRoutes(const std::string& installRoot) {
    session_.setInstallRoot(installRoot);
    fillRouteList(platform::JoinPath(installRoot, "Routes"));
}

void FogRunPage::fillRouteList(const std::string& folder) {
    ui_->routeBox->clear();
    QStringList names;
    // Asking for folders still returns plain files, which are dropped here.
    for (const auto& entry :
         platform::FindFiles(platform::JoinPath(folder, "*.*"), platform::FileAttr::Directory)) {
        if (entry.IsDirectory()) {
            names.push_back(widgets::PathToQ(entry.name));
        }
    }
    ui_->routeBox->addItems(names);
    // Adding items selects the first one; the box shows the placeholder instead.
    ui_->routeBox->setCurrentIndex(-1);
    ui_->routeBox->setEditText(widgets::ToQ(texts_.text(settings::Text::RoutePlaceholder)));
}

void FogRunPage::onRouteEdited() {
    if (ui_->routeBox->currentText().isEmpty())
        ui_->routeBox->setEditText(widgets::ToQ(texts_.text(settings::Text::RoutePlaceholder)));
}

// The visibility scale of the fog-run page.
void FogRunPage::onVisibilityChanged() {
    updateVisibilityDisplay();
}

void FogRunPage::updateVisibilityDisplay() {
    const std::array<std::string, 5> displayTexts = fogStateDisplayTexts();
    const int position = fog::SnapToLevel(ui_->visibilityBar->value());
    ui_->visibilityBar->setValue(position);
    ui_->visibilityLabel->setText(QString::number(position) + " m");
    ui_->visibilityLabel->resize(ui_->visibilityLabel->sizeHint());
    const int index = fog::LevelIndex(position);
    if (index < 0) return;
    widgets::SetLabelText(*ui_->fogStateLabel, widgets::ToQ(displayTexts[std::size_t(index)]));
    QPalette pal = ui_->fogStateLabel->palette();
    pal.setColor(QPalette::WindowText, widgets::ToQColor(fog::kFogStateColors[std::size_t(index)]));
    ui_->fogStateLabel->setPalette(pal);
}

void FogRunPage::onVisibilityMousePressed(Qt::MouseButton, int x, int) {
    ui_->visibilityBar->setValue(
        fog::PositionFromMouse(x, ui_->visibilityBar->maximum(), ui_->visibilityBar->width()));
}

std::array<std::string, 5> FogRunPage::fogStateDisplayTexts() const {
    using settings::Text;
    constexpr Text kStates[] = {Text::FogState0, Text::FogState1, Text::FogState2, Text::FogState3,
                                Text::FogState4};
    std::array<std::string, 5> texts;
    static_assert(std::size(kStates) == texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = " " + texts_.text(kStates[i]) + " ";
    return texts;
}

// The fog run of the page: discovery, the make button, the summary and the restore.
namespace {

// One path per line after the message, none of them read as a format.
std::string PathList(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) list += '\n' + platform::LiteralForFormat(path);
    return list;
}

}  // namespace

fog::Weather FogRunPage::checkedWeather() const {
    if (ui_->sunButton->isChecked()) return fog::Weather::Sun;
    if (ui_->rainButton->isChecked()) return fog::Weather::Rain;
    return fog::Weather::Snow;
}

QRadioButton* FogRunPage::weatherButton(fog::Weather weather) const {
    switch (weather) {
        case fog::Weather::Sun:
            return ui_->sunButton;
        case fog::Weather::Rain:
            return ui_->rainButton;
        case fog::Weather::Snow:
            return ui_->snowButton;
    }
    return ui_->sunButton;
}

// Fifteen centred lines; each takes the colour and style current when it is added, and the
// style, once bold and underlined, stays so.
void FogRunPage::writeSummary() {
    const QColor maroon(128, 0, 0), blue(0, 0, 255), grey(128, 128, 128);
    QTextCharFormat current;
    QTextCursor cursor(ui_->summaryView->document());
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
    heading(texts_.text(settings::Text::SummaryVisibility), ui_->visibilityLabel->text());
    heading(texts_.text(settings::Text::SummaryFogState), ui_->fogStateLabel->text());
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
    ui_->choosingPage->hide();
    emit filesReplacedChanged(true);
}

void FogRunPage::showChoosingPage() {
    session_.close();
    ui_->choosingPage->show();
    emit filesReplacedChanged(false);
    ui_->summaryView->clear();
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
    ui_->visibilityBar->setValue(record.metres);
    onVisibilityChanged();
    ui_->summaryView->clear();
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
    ui_->summaryView->clear();
    const fog::Weather weather = checkedWeather();
    if (!takeChosenRoute(weather)) return;  // nothing to fog: no backup folder, texture or summary

    // A record that cannot be used is reported and set aside now, not found in the run's way.
    setAsideRefusedRecord();
    const fog::FogRunRequest request = session_.request(weather, ui_->visibilityBar->value(),
                                                        texts_.text(settings::Text::FogWord));
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
    const QString routeText = ui_->routeBox->currentText();
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
