#pragma once
// The main window: route, weather and visibility on the choosing page; the summary and the
// restore button on the completion page.
#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <string>

#include "core/settings/language_host.h"
#include "core/settings/texts.h"
#include "gui/fog/fog_run_page.h"

class QAction;
class QWindow;
namespace Ui {
class MainWindow;
}

class MainWindow : public QMainWindow, public settings::LanguageHost {
    Q_OBJECT
  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Creation: takes the stored language into use (a refused pack is reported in boxes).
    void initialize();
    // Activation: reads the stored simulator folder and refills the route list. Runs on the first
    // display and on every return from another program window (not a message box).
    void onActivated();
    // A new folder was confirmed in the locator: the route list and the Open Rails item follow it.
    void onFolderChanged(const std::string& folder);
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
    // The texts of the current language (the fog-run page keeps a copy).
    const settings::WindowTexts& texts() const { return texts_; }

  signals:
    // Help > Info: the program shows its About window.
    void aboutRequested();
    // Options > choose the folder again, allowed: the program shows the locator.
    void folderChangeRequested();
    // The window has really closed (the program ends then).
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    // What the window's .ui cannot say: its fixed size and the handlers of the page and the menu.
    void setUpControls();

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
    // The Open Rails option: stores the choice; the item shows what the file holds, and is fixed
    // on for an Open Rails content folder (`folder`).
    void onOpenRailsTriggered();
    void showOpenRailsSetting(const std::string& folder);
    // Choosing the folder again: refused while a route holds fog.
    void onFolderTriggered();

    // Language.
    // applyLanguage without storing the language.
    void showLanguage(const std::string& name);
    void checkPackFile(const std::string& name) override;
    void checkPackHeader(const std::string& language, const std::string& program) override;
    void fillLanguageMenu(const std::string& folder);

    // Border icons: system menu with close box and minimise, or minimise only. A shown window
    // keeps being shown: it is never hidden to change them.
    void setCloseBox(bool closeBox);

    // Controls: the fog-run page, then the menu.
    std::unique_ptr<Ui::MainWindow> ui_;

    // State.
    std::string currentLanguage_;
    settings::WindowTexts texts_;
    bool languageMenuPending_ = false;
    QPointer<QWindow> lastAppWindow_;
    bool lastAppWindowIsProgramWindow_ = false;
    bool trackingActivation_ = false;
};
