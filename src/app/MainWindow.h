#pragma once
// The main window: route, weather and visibility on the choosing page; the summary and the
// restore button on the completion page.
#include <QMainWindow>
#include <QPointer>
#include <array>
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
    // The texts of the current language that no control shows until they are needed: the
    // route box placeholder, the summary's headings, the fog state names and the message boxes.
    struct Texts {
        std::string noRouteText;
        std::string infoTitleText, infoRouteText, infoWeatherText, infoVisibilityText,
            infoFogStateText;
        std::array<std::string, 5> fogStateTexts;
        std::string errorTitle, noRouteMsg, routeErrMsg, routeNotFoundMsg, noCloseMsg, closeTitle,
            languageDlgTitle, languageReadErrMsg, helpNotFoundMsg;
        std::string backupFailedMsg, restoreFailedMsg, runPendingMsg, inUseMsg, installFailedMsg,
            recordRefusedMsg;
    };

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Creation: takes the stored language into use (a refused pack is reported in boxes).
    void initialize();
    // Activation: reads the stored simulator folder and refills the route list. Runs on the first
    // display and on every return from another window of the program that is a form.
    void onActivated();
    // Tells the window that its first display is over, so later returns from other windows of
    // the program run onActivated.
    void startActivationTracking();

    // When Dump holds the record of a run that was never restored (the program was ended by
    // force), puts the completion page for that run in place, with its summary, so the user can
    // put the files back. Returns whether there was such a run. Start-up calls it before the
    // window is first shown, so the window never changes its border icons while shown.
    bool openUnrestoredRun();
    // Tells the user that the run opened by openUnrestoredRun still has to be restored.
    void reportUnrestoredRun() const;

    // Sets every text of a language (the built-in Dutch or a pack, without checking it) and
    // stores it as the program's language.
    void applyLanguage(const std::string& name) override;

    const std::string& currentLanguage() const { return currentLanguage_; }
    // Whether the route holds fog: the completion page is up and the window cannot close.
    bool filesReplaced() const { return filesReplaced_; }
    // The run the completion page stands for, as started or resumed: its restore does not depend
    // on the record in Dump staying there.
    const std::optional<mist::RunRecord>& currentRun() const { return currentRun_; }
    const Texts& texts() const { return texts_; }

signals:
    // Help > Info: the program shows its About window.
    void aboutRequested();
    // The window has really closed (the program ends then).
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void buildMenu();

    // Lifecycle: the first display fills the language menu; a close is allowed unless the route
    // holds fog.
    void onShown();
    bool mayClose();
    void onFocusWindowChanged(QWindow* window);

    // Menu.
    void onExitTriggered();
    void onAboutTriggered();
    void onHelpTriggered();
    void onLanguageTriggered(QAction* item);

    // Route list.
    void fillRouteList(const std::string& folder);
    void onRouteEdited();

    // Visibility scale.
    void onVisibilityChanged();
    void onVisibilityMousePressed(Qt::MouseButton button, int x, int y);
    void updateVisibilityDisplay(const std::array<std::string, 5>& displayTexts);
    // The display texts of the fog states: each state name with one blank either side.
    std::array<std::string, 5> fogStateDisplayTexts() const;

    // Language.
    void applyText(int target, const std::string& text);
    void checkPackFile(const std::string& name) override;
    void checkPackHeader(const std::string& language, const std::string& program) override;
    void fillLanguageMenu(const std::string& folder);

    // Fog run.
    void onMakeClicked();
    void onRestoreClicked();
    void checkEnvFolder(const std::string& envFolder);
    // Fills the file slots for the weather; only ever fills slots, in order (a run empties them
    // beforehand).
    void findEnvFiles(const std::string& envFolder, mist::Weather weather);
    mist::Weather checkedWeather() const;
    QRadioButton* weatherButton(mist::Weather weather) const;
    void writeSummary();
    void showCompletionPage();
    void showChoosingPage();
    void showRun(const mist::RunRecord& record);
    void setAsideRefusedRecord();
    void reportNotPutBack(const std::string& installRoot, const std::string& route,
                          const mist::RestoreOutcome& outcome);
    bool restore(const mist::RunRecord& record);
    // openUnrestoredRun, then reportUnrestoredRun when there was a run.
    bool resumeUnrestoredRun();

    // Border icons: system menu with close box and minimise, or minimise only. A shown window
    // keeps being shown: it is never hidden to change them.
    void setCloseBox(bool closeBox);

    // Controls: the choosing page (route, weather, fog), then the completion page beneath it,
    // then the menu.
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

    QMenu* fileMenu_ = nullptr;
    QAction* exitAction_ = nullptr;
    QMenu* optionsMenu_ = nullptr;
    QMenu* languageMenu_ = nullptr;
    QAction* dutchAction_ = nullptr;
    QActionGroup* languageGroup_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QAction* helpContentsAction_ = nullptr;
    QAction* helpSeparator_ = nullptr;
    QAction* aboutAction_ = nullptr;

    // State.
    std::string installRoot_;  // the simulator folder, as stored
    std::string routeName_;
    bool filesReplaced_ = false;
    bool envFolderMissing_ = false;
    bool envFileMissing_ = false;
    std::array<std::string, 4> envFiles_;  // the slots of the route's files a run replaces
    bool multiFileMode_ = false;
    std::optional<mist::RunRecord> currentRun_;
    std::string currentLanguage_;
    Texts texts_;
    bool languageMenuPending_ = false;
    QPointer<QWindow> lastAppWindow_;
    bool lastAppWindowIsForm_ = false;
    bool trackingActivation_ = false;
};
