#include "gui/fog/fog_run_page.h"

#include <QComboBox>
#include <QFrame>
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
#include <type_traits>

#include "core/fog/discovery.h"
#include "core/fog/fog_run.h"
#include "core/fog/route_recovery.h"
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

// What a control of the page is, and so how it is made.
enum class Kind {
    Label,
    WrappedLabel,
    Summary,
    Button,
    Page,
    Group,
    RouteBox,
    WeatherButton,
    VisibilityBar,
    Frame
};

// One control of the page as it is made; the text table's texts come with the language. `keep`
// stores it in the page's member for it.
struct Control {
    void (*keep)(FogRunPage& page, QWidget* control);
    Kind kind;
    const char* name;
    const char* parent;       // the parent's object name; none: the page itself
    int x, y, width, height;  // a label 0 wide takes the size of its text
    const char* text;
    std::optional<widgets::ColorCode> color = std::nullopt;  // of the text; none: the style's
    int fontHeight = 0;                                      // pixels; 0: the window's font
    const char* fontFace = nullptr;                          // none: the window's face
};

template <auto Member>
void Keep(FogRunPage& page, QWidget* control) {
    page.*Member = static_cast<std::remove_reference_t<decltype(page.*Member)>>(control);
}

QWidget* MakeControl(const Control& c, QWidget* parent) {
    const QString text = QString::fromUtf8(c.text);
    QWidget* w = nullptr;
    switch (c.kind) {
        case Kind::Label:
        case Kind::WrappedLabel: {
            auto* label = new QLabel(text, parent);
            label->setWordWrap(c.kind == Kind::WrappedLabel);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setTextFormat(Qt::PlainText);
            w = label;
            break;
        }
        case Kind::Summary: {
            auto* view = new QTextEdit(parent);
            view->setReadOnly(true);
            view->setAlignment(Qt::AlignHCenter);
            view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            w = view;
            break;
        }
        case Kind::Button:
            w = new QPushButton(text, parent);
            break;
        case Kind::Page:
            w = new QWidget(parent);
            w->setAutoFillBackground(true);
            w->raise();
            break;
        case Kind::Group:
            w = new QGroupBox(text, parent);
            break;
        case Kind::RouteBox: {
            auto* box = new QComboBox(parent);
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert);  // the list holds folder names only
            box->setEditText(text);
            w = box;
            break;
        }
        case Kind::WeatherButton:
            w = new QRadioButton(text, parent);
            break;
        case Kind::VisibilityBar: {
            auto* bar = new widgets::TrackBar(parent);
            bar->setRange(25, 125);
            bar->setSingleStep(25);
            bar->setPageStep(2);
            bar->setTickPosition(QSlider::TicksBelow);
            bar->setTickInterval(25);
            bar->setValue(75);
            bar->setValueSuffix(" m");
            w = bar;
            break;
        }
        case Kind::Frame: {
            auto* frame = new QFrame(parent);
            frame->setFrameShape(QFrame::Box);
            frame->setFrameShadow(QFrame::Sunken);
            w = frame;
            break;
        }
    }
    w->setObjectName(c.name);
    w->setGeometry(c.x, c.y, c.width, c.height);
    if (c.fontHeight != 0)
        w->setFont(c.fontFace ? WindowFont(c.fontHeight, c.fontFace) : WindowFont(c.fontHeight));
    if (c.color) {
        if (auto* view = qobject_cast<QTextEdit*>(w)) {
            view->setTextColor(widgets::ToQColor(*c.color));
        } else {
            SetTextColor(w, *c.color);
        }
    }
    if (auto* label = qobject_cast<QLabel*>(w); label && c.width == 0)
        label->resize(label->sizeHint());
    return w;
}

}  // namespace

FogRunPage::FogRunPage(QWidget* parent) : QWidget(parent) {
    setObjectName("client");
    setFixedSize(351, 229);
    buildControls();
}

FogRunPage::~FogRunPage() = default;

void FogRunPage::buildControls() {
    using namespace widgets::colors;
    using P = FogRunPage;
    using enum Kind;
    // In creation order, which sets the stacking and the tab chain: the completion page, then the
    // choosing page over it.
    static constexpr Control kControls[] = {
        {Keep<&P::completionLabel_>, WrappedLabel, "completionLabel", nullptr, 8, 8, 321, 89, "",
         navy, 13},
        {Keep<&P::summaryView_>, Summary, "summaryView", nullptr, 8, 104, 329, 89, "", maroon, 13,
         "Arial"},
        {Keep<&P::restoreButton_>, Button, "restoreButton", nullptr, 100, 200, 160, 25, ""},
        {Keep<&P::choosingPage_>, Page, "choosingPage", nullptr, 0, 0, 353, 233, ""},

        {Keep<&P::routeGroup_>, Group, "routeGroup", "choosingPage", 8, 8, 177, 113, "", red},
        {Keep<&P::routeLabel_>, WrappedLabel, "routeLabel", "routeGroup", 8, 24, 145, 49, "", navy},
        {Keep<&P::routeBox_>, RouteBox, "routeBox", "routeGroup", 8, 72, 161, 21, "", teal},

        {Keep<&P::weatherGroup_>, Group, "weatherGroup", "choosingPage", 192, 8, 153, 113, "", red},
        {Keep<&P::weatherLabel_>, WrappedLabel, "weatherLabel", "weatherGroup", 8, 24, 137, 33, "",
         navy},
        {Keep<&P::sunButton_>, WeatherButton, "sunButton", "weatherGroup", 16, 56, 113, 17, "",
         teal},
        {Keep<&P::rainButton_>, WeatherButton, "rainButton", "weatherGroup", 16, 72, 113, 17, "",
         teal},
        {Keep<&P::snowButton_>, WeatherButton, "snowButton", "weatherGroup", 16, 88, 113, 17, "",
         teal},

        {Keep<&P::fogGroup_>, Group, "fogGroup", "choosingPage", 8, 128, 337, 65, "", red},
        {Keep<&P::visibilityBar_>, VisibilityBar, "visibilityBar", "fogGroup", 8, 16, 150, 45, ""},
        {Keep<&P::visibilityFrame_>, Frame, "visibilityFrame", "fogGroup", 168, 10, 161, 50, ""},
        {Keep<&P::visibilityCaption_>, Label, "visibilityCaption", "fogGroup", 176, 16, 83, 13, "",
         navy},
        {Keep<&P::visibilityLabel_>, Label, "visibilityLabel", "fogGroup", 264, 16, 0, 0, "75 m",
         black},
        {Keep<&P::fogStateCaption_>, Label, "fogStateCaption", "fogGroup", 176, 40, 0, 0, "", navy},
        // 75 m, where the bar starts.
        {Keep<&P::fogStateLabel_>, Label, "fogStateLabel", "fogGroup", 232, 40, 90, 14, "",
         fog::kFogStateColors[2]},

        {Keep<&P::makeButton_>, Button, "makeButton", "choosingPage", 136, 200, 75, 25, "", black},
    };
    for (const Control& c : kControls) {
        QWidget* parent = c.parent ? findChild<QWidget*>(QLatin1String(c.parent)) : this;
        c.keep(*this, MakeControl(c, parent));
    }

    sunButton_->setChecked(true);
    widgets::SetLabelPartner(*routeLabel_, *routeBox_);
    widgets::SetLabelPartner(*weatherLabel_, *weatherGroup_);
    widgets::SetLabelPartner(*visibilityCaption_, *visibilityBar_);
    widgets::SetLabelPartner(*fogStateCaption_, *visibilityBar_);
    widgets::SetLabelPartner(*completionLabel_, *restoreButton_);
    // The restore button lies under the make button, and the make button under it.
    widgets::IgnoreClickThrough(*choosingPage_, {restoreButton_, makeButton_});
    fogStateLabel_->setAutoFillBackground(true);
    QPalette pal = fogStateLabel_->palette();
    pal.setColor(QPalette::Window, widgets::ToQColor(black));
    fogStateLabel_->setPalette(pal);

    connect(restoreButton_, &QPushButton::clicked, this,
            platform::Guarded([this] { onRestoreClicked(); }));
    // The change handler runs for the user's changes only: typing or picking an entry.
    connect(routeBox_->lineEdit(), &QLineEdit::textEdited, this,
            platform::Guarded([this] { onRouteEdited(); }));
    connect(routeBox_, &QComboBox::activated, this, platform::Guarded([this] { onRouteEdited(); }));
    connect(visibilityBar_, &widgets::TrackBar::valueEdited, this,
            platform::Guarded([this] { onVisibilityChanged(); }));
    connect(makeButton_, &QPushButton::clicked, this,
            platform::Guarded([this] { onMakeClicked(); }));

    // Tab order: choosingPage_ (groups, then Maken...), restoreButton_, summaryView_.
    setTabOrder(routeBox_, sunButton_);
    setTabOrder(sunButton_, visibilityBar_);
    setTabOrder(visibilityBar_, makeButton_);
    setTabOrder(makeButton_, restoreButton_);
    setTabOrder(restoreButton_, summaryView_);
}

void FogRunPage::setTexts(const settings::WindowTexts& texts) {
    texts_ = texts;
    fogStateCaption_->resize(fogStateCaption_->sizeHint());  // a label as wide as its text
    updateVisibilityDisplay();
}

void FogRunPage::followVisibilityMouse() {
    visibilityBar_->setMousePressHandler([this](Qt::MouseButton button, int x, int y) {
        platform::RunGuarded([=, this] { onVisibilityMousePressed(button, x, y); });
    });
}

// The route list: the folders under <simulator>/Routes.
void FogRunPage::showRoutes(const std::string& installRoot) {
    session_.setInstallRoot(installRoot);
    fillRouteList(platform::JoinPath(installRoot, "Routes"));
}

void FogRunPage::fillRouteList(const std::string& folder) {
    routeBox_->clear();
    QStringList names;
    // Asking for folders still returns plain files, which are dropped here.
    for (const auto& entry :
         platform::FindFiles(platform::JoinPath(folder, "*.*"), platform::FileAttr::Directory)) {
        if (entry.IsDirectory()) {
            names.push_back(widgets::PathToQ(entry.name));
        }
    }
    routeBox_->addItems(names);
    // Adding items selects the first one; the box shows the placeholder instead.
    routeBox_->setCurrentIndex(-1);
    routeBox_->setEditText(widgets::ToQ(texts_.text(settings::Text::RoutePlaceholder)));
}

void FogRunPage::onRouteEdited() {
    if (routeBox_->currentText().isEmpty())
        routeBox_->setEditText(widgets::ToQ(texts_.text(settings::Text::RoutePlaceholder)));
}

// The visibility scale of the fog-run page.
void FogRunPage::onVisibilityChanged() {
    updateVisibilityDisplay();
}

void FogRunPage::updateVisibilityDisplay() {
    const std::array<std::string, 5> displayTexts = fogStateDisplayTexts();
    const int position = fog::SnapToLevel(visibilityBar_->value());
    visibilityBar_->setValue(position);
    visibilityLabel_->setText(QString::number(position) + " m");
    visibilityLabel_->resize(visibilityLabel_->sizeHint());
    const int index = fog::LevelIndex(position);
    if (index < 0) return;
    widgets::SetLabelText(*fogStateLabel_, widgets::ToQ(displayTexts[std::size_t(index)]));
    QPalette pal = fogStateLabel_->palette();
    pal.setColor(QPalette::WindowText, widgets::ToQColor(fog::kFogStateColors[std::size_t(index)]));
    fogStateLabel_->setPalette(pal);
}

void FogRunPage::onVisibilityMousePressed(Qt::MouseButton, int x, int) {
    visibilityBar_->setValue(
        fog::PositionFromMouse(x, visibilityBar_->maximum(), visibilityBar_->width()));
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
