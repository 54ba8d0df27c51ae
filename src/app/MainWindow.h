#pragma once
// The main window: route, weather and visibility on the choosing page; the summary and the
// restore button on the completion page.
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "mist/fog_run.h"
#include "settings/language_host.h"

class QAction;
class QActionGroup;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QTextEdit;
class QWindow;
namespace widgets {
class TrackBar;
}

class MainWindow : public QMainWindow, public settings::LanguageHost {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Lifecycle handlers.
    void FormCreate();
    void FormShow();
    void FormActivate();
    void FormCloseQuery(bool& CanClose);

    // Menu handlers.
    void onExitTriggered();
    void onAboutTriggered();
    void onHelpTriggered();
    void onLanguageTriggered(QAction* Sender);

    // Route list.
    void FillRouteList(const std::string& folder, QComboBox* box);
    void onRouteEdited();

    // Visibility scale.
    void onVisibilityChanged();
    void UpdateVisibilityDisplay(const std::array<std::string, 5>& displayTexts);

    // Language.
    void ApplyLanguage(const std::string& name) override;
    void CheckPackFile(const std::string& name) override;
    void CheckPackHeader(const std::string& language, const std::string& program) override;
    void FillLanguageMenu(const std::string& folder);

    // Fog run.
    void onMakeClicked();
    void onRestoreClicked();

    // When Dump holds the record of a run that was never restored (the program was ended by
    // force), puts the completion page for that run in place, with its summary, so the user can
    // put the files back. Returns whether there was such a run. Start-up calls it before the
    // window is first shown, so the window never changes its border icons while shown.
    bool OpenUnrestoredRun();
    // Tells the user that the run opened by OpenUnrestoredRun still has to be restored.
    void ReportUnrestoredRun() const;
    // OpenUnrestoredRun, then ReportUnrestoredRun when there was a run.
    bool ResumeUnrestoredRun();

    // Border icons: system menu with close box and minimise, or minimise only. A shown window
    // keeps being shown: it is never hidden to change them.
    void SetCloseBox(bool closeBox);

    // Shows the About window (set by the program when it creates it).
    std::function<void()> ShowAboutWindow;
    // Runs when the window has really closed (the program ends then).
    std::function<void()> OnClosed;

    // Controls: the choosing page (route, weather, fog), then the completion page beneath it,
    // then the menu.
    QWidget* choosingPage = nullptr;
    QGroupBox* routeGroup = nullptr;
    QLabel* routeLabel = nullptr;
    QComboBox* routeBox = nullptr;
    QGroupBox* weatherGroup = nullptr;
    QLabel* weatherLabel = nullptr;
    QRadioButton* sunButton = nullptr;
    QRadioButton* rainButton = nullptr;
    QRadioButton* snowButton = nullptr;
    QGroupBox* fogGroup = nullptr;
    widgets::TrackBar* visibilityBar = nullptr;
    QFrame* visibilityFrame = nullptr;
    QLabel* visibilityCaption = nullptr;
    QLabel* visibilityLabel = nullptr;
    QLabel* fogStateCaption = nullptr;
    QLabel* fogStateLabel = nullptr;
    QPushButton* makeButton = nullptr;
    QLabel* completionLabel = nullptr;
    QTextEdit* summaryView = nullptr;
    QPushButton* restoreButton = nullptr;

    QMenu* fileMenu = nullptr;
    QAction* exitAction = nullptr;
    QMenu* optionsMenu = nullptr;
    QMenu* languageMenu = nullptr;
    QAction* dutchAction = nullptr;
    QMenu* helpMenu = nullptr;
    QAction* helpContentsAction = nullptr;
    QAction* helpSeparator = nullptr;
    QAction* aboutAction = nullptr;

    // State.
    std::string RouteName;
    bool FilesReplaced = false;
    bool EnvFileMissing = false;
    std::string EnvFile1, EnvFile2, EnvFile3, EnvFile4;
    bool MultiFileMode = false;
    // The run the completion page stands for, as started or resumed: its restore does not depend
    // on the record in Dump staying there.
    std::optional<mist::RunRecord> CurrentRun;

    // Language texts.
    std::string NoRouteText;
    std::string InfoTitleText, InfoRouteText, InfoWeatherText, InfoVisibilityText, InfoFogStateText;
    std::string NoRouteMsg, ErrorTitle, RouteErrMsg, RouteNotFoundMsg, NoCloseMsg, CloseTitle,
        LanguageDlgTitle;
    std::array<std::string, 5> FogStateTexts;
    std::string LanguageReadErrMsg, HelpNotFoundMsg;
    std::string BackupFailedMsg, RestoreFailedMsg, RunPendingMsg;
    std::string InUseMsg;
    std::string InstallFailedMsg, RecordRefusedMsg;
    std::string CurrentLanguage;

    // The display texts of the fog states: each state name with one blank either side.
    std::array<std::string, 5> FogStateDisplayTexts() const;

    // Tells the window that its first display is over, so later returns from other windows of
    // the program run FormActivate.
    void StartActivationTracking();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void onVisibilityMousePressed(Qt::MouseButton button, int x, int y);
    void CheckEnvFolder(const std::string& envFolder);
    void FindSunEnvFiles(const std::string& envFolder);
    void FindRainEnvFiles(const std::string& envFolder);
    void FindSnowEnvFiles(const std::string& envFolder);
    void BuildControls();
    void BuildMenu();
    void SetTarget(int target, const std::string& text);
    void OnFocusWindowChanged(QWindow* window);

    std::string InstallRoot;  // the simulator folder, as stored
    bool EnvFolderMissing = false;
    bool LanguageMenuPending = false;
    QActionGroup* languageGroup_ = nullptr;
    QPointer<QWindow> lastAppWindow_;
    bool lastAppWindowIsForm_ = false;
    bool trackingActivation_ = false;
};
