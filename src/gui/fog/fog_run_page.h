#pragma once
// The main window's client area: the choosing page (route, weather, visibility and the make button)
// over the completion page (the summary and the restore button), and the fog run they start.
#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/fog/fog_run.h"
#include "core/fog/restore.h"
#include "core/fog/run_record.h"
#include "core/settings/texts.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTextEdit;
namespace widgets {
class TrackBar;
}

class FogRunPage : public QWidget {
    Q_OBJECT
  public:
    explicit FogRunPage(QWidget* parent = nullptr);
    ~FogRunPage() override;

    // Takes the main window's texts of the current language (its controls have them already):
    // the route box placeholder, the summary's headings, the fog state names, the messages.
    void setTexts(const settings::WindowTexts& texts);
    // Snaps the visibility bar to a level and shows it with its fog state in the current texts.
    void updateVisibilityDisplay();
    // Lets a mouse press on the visibility bar move its thumb there at once.
    void followVisibilityMouse();
    // Takes the simulator folder (as stored) and lists the route folders under its Routes.
    void showRoutes(const std::string& installRoot);

    // When Dump holds the record of a run that was never restored (the program was ended by
    // force), puts the completion page for that run in place, with its summary, so the user can
    // put the files back. Returns whether there was such a run.
    bool openUnrestoredRun();
    // Tells the user that the run opened by openUnrestoredRun still has to be restored.
    void reportUnrestoredRun() const;

    // Whether the route holds fog: the completion page is up.
    bool filesReplaced() const { return filesReplaced_; }
    // The run the completion page stands for, as started or resumed: its restore does not depend
    // on the record in Dump staying there.
    const std::optional<fog::RunRecord>& currentRun() const { return currentRun_; }
    const settings::WindowTexts& texts() const { return texts_; }

  signals:
    // The completion page has come up (true) or gone again (false).
    void filesReplacedChanged(bool replaced);

  private:
    void buildControls();

    // Route list.
    void fillRouteList(const std::string& folder);
    void onRouteEdited();

    // Visibility scale.
    void onVisibilityChanged();
    void onVisibilityMousePressed(Qt::MouseButton button, int x, int y);
    // The display texts of the fog states: each state name with one blank either side.
    std::array<std::string, 5> fogStateDisplayTexts() const;

    // Fog run: the make button's steps.
    void onMakeClicked();
    // Takes the route the box names; false (after its box) for none, a path or a missing route.
    bool takeChosenRoute();
    fog::FogRunRequest runRequest(fog::Weather weather) const;
    // Shows what keeps a run from being installed; true when it was installed.
    bool reportRunOutcome(fog::RunOutcome outcome, const fog::RunReport& report);
    void showInstalledRun(const fog::FogRunRequest& request, const fog::RunReport& report);
    void onRestoreClicked();
    void checkEnvFolder(const std::string& envFolder);
    // Fills the file slots for the weather; only ever fills slots, in order (a run empties them
    // beforehand).
    void findEnvFiles(const std::string& envFolder, fog::Weather weather);
    fog::Weather checkedWeather() const;
    QRadioButton* weatherButton(fog::Weather weather) const;
    void writeSummary();
    void showCompletionPage();
    void showChoosingPage();
    void showRun(const fog::RunRecord& record);
    std::optional<fog::RunRecord> setAsideRefusedRecord();
    void reportNotPutBack(const std::string& installRoot, const std::string& route,
                          const fog::RestoreOutcome& outcome);
    bool restore(const fog::RunRecord& record);
    void recoverRoute(const fog::RunRecord& record);
    // openUnrestoredRun, then reportUnrestoredRun when there was a run.
    bool resumeUnrestoredRun();

    // Controls: the choosing page (route, weather, fog), then the completion page beneath it.
    QWidget* choosingPage_ = nullptr;
    QGroupBox* routeGroup_ = nullptr;
    QLabel* routeLabel_ = nullptr;
    QComboBox* routeBox_ = nullptr;
    QGroupBox* weatherGroup_ = nullptr;
    QLabel* weatherLabel_ = nullptr;
    QRadioButton* sunButton_ = nullptr;
    QRadioButton* rainButton_ = nullptr;
    QRadioButton* snowButton_ = nullptr;
    QGroupBox* fogGroup_ = nullptr;
    widgets::TrackBar* visibilityBar_ = nullptr;
    QFrame* visibilityFrame_ = nullptr;
    QLabel* visibilityCaption_ = nullptr;
    QLabel* visibilityLabel_ = nullptr;
    QLabel* fogStateCaption_ = nullptr;
    QLabel* fogStateLabel_ = nullptr;
    QPushButton* makeButton_ = nullptr;
    QLabel* completionLabel_ = nullptr;
    QTextEdit* summaryView_ = nullptr;
    QPushButton* restoreButton_ = nullptr;

    // State.
    std::string installRoot_;  // the simulator folder, as stored
    std::string routeName_;
    bool filesReplaced_ = false;
    bool envFolderMissing_ = false;
    bool envFileMissing_ = false;
    std::array<std::string, 4> envFiles_;  // the slots of the route's files a run replaces
    bool multiFileMode_ = false;
    std::optional<fog::RunRecord> currentRun_;
    // What the summary says of the run's Open Rails files; nothing when the run made none.
    struct OpenRailsSummary {
        std::size_t activityCopies = 0;
        std::string weatherFile;           // its name, empty when none was added
        std::vector<std::string> skipped;  // activities not read, files not written
        bool contentFolder = false;        // an Open Rails content folder: where the fog shows
    };
    std::optional<OpenRailsSummary> openRailsSummary_;
    settings::WindowTexts texts_;
};
