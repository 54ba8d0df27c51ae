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
class TTrackBar;
}

class TForm1 : public QMainWindow, public settings::LanguageHost {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Lifecycle handlers.
    void FormCreate();
    void FormShow();
    void FormActivate();
    void FormCloseQuery(bool& CanClose);

    // Menu handlers.
    void afsluiten1Click();
    void Info1Click();
    void Help2Click();
    void LanguageClick(QAction* Sender);

    // Route list.
    void FillRouteList(const std::string& folder, QComboBox* box);
    void RouteBoxChange();

    // Visibility scale.
    void TrackBar1Change();
    void UpdateVisibilityDisplay(const std::array<std::string, 5>& displayTexts);
    void TrackBar1MouseDown(Qt::MouseButton button, int x, int y);

    // Language.
    void ApplyLanguage(const std::string& name) override;
    void CheckPackFile(const std::string& name) override;
    void CheckPackHeader(const std::string& language, const std::string& program) override;
    void FillLanguageMenu(const std::string& folder);

    // Fog run.
    void CheckEnvFolder(const std::string& envFolder);
    void FindSunEnvFiles(const std::string& envFolder);
    void FindRainEnvFiles(const std::string& envFolder);
    void FindSnowEnvFiles(const std::string& envFolder);
    void Button1Click();
    void Button2Click();

    // Border icons: system menu with close box and minimise, or minimise only. A shown window
    // keeps being shown: it is never hidden to change them.
    void SetCloseBox(bool closeBox);

    // Shows the About window (set by the program when it creates it).
    std::function<void()> ShowAboutWindow;
    // Runs when the window has really closed (the program ends then).
    std::function<void()> OnClosed;

    // Controls, named as on the form.
    QWidget* Panel1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* RouteBox = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLabel* Label2 = nullptr;
    QRadioButton* Sun = nullptr;
    QRadioButton* Rain = nullptr;
    QRadioButton* Snow = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    widgets::TTrackBar* TrackBar1 = nullptr;
    QFrame* Bevel1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* zichtlabel = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* toestandlabel = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* Label3 = nullptr;
    QTextEdit* RichEdit1 = nullptr;
    QPushButton* Button2 = nullptr;

    QMenu* Bestand1 = nullptr;
    QAction* afsluiten1 = nullptr;
    QMenu* Opties1 = nullptr;
    QMenu* Taal1 = nullptr;
    QAction* Nederlands1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* Help2 = nullptr;
    QAction* N1 = nullptr;
    QAction* Info1 = nullptr;

    // State.
    std::string InstallRoot;
    std::string RouteName;
    bool FilesReplaced = false;
    bool EnvFileMissing = false;
    bool EnvFolderMissing = false;
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
    bool LanguageMenuPending = false;

    // The display texts of the fog states: each state name with one blank either side.
    std::array<std::string, 5> FogStateDisplayTexts() const;

    // Tells the window that its first display is over, so later returns from other windows of
    // the program run FormActivate.
    void StartActivationTracking();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void BuildMenu();
    void SetTarget(int target, const std::string& text);
    void OnFocusWindowChanged(QWindow* window);

    QActionGroup* languageGroup_ = nullptr;
    QPointer<QWindow> lastAppWindow_;
    bool lastAppWindowIsForm_ = false;
    bool trackingActivation_ = false;
};
