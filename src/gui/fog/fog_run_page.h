#pragma once
// The main window's client area: the choosing page (route, weather, visibility and the make button)
// over the completion page (the summary and the restore button), and the fog run they start.
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/fog/fog_run.h"
#include "core/fog/restore.h"
#include "core/fog/run_record.h"
#include "core/fog/session.h"
#include "core/settings/texts.h"

class QRadioButton;
namespace Ui {
class FogRunPage;
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
    // Takes the menu's Open Rails choice for the runs to come.
    void setOpenRails(bool on) { session_.setOpenRails(on); }

    // When Dump holds the record of a run that was never restored (the program was ended by
    // force), puts the completion page for that run in place, with its summary, so the user can
    // put the files back. Returns whether there was such a run.
    bool openUnrestoredRun();
    // Tells the user that the run opened by openUnrestoredRun still has to be restored.
    void reportUnrestoredRun() const;

    // Whether the route holds fog: the completion page is up.
    bool filesReplaced() const { return session_.filesReplaced(); }
    // The run the completion page stands for, as started or resumed: its restore does not depend
    // on the record in Dump staying there.
    const std::optional<fog::RunRecord>& currentRun() const { return session_.currentRun(); }
    const settings::WindowTexts& texts() const { return texts_; }

  signals:
    // The completion page has come up (true) or gone again (false).
    void filesReplacedChanged(bool replaced);

  private:
    // What the page's .ui cannot say: fonts, colours worked out in code, labels as wide as their
    // text, label partners and the handlers.
    void setUpControls();

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
    // Takes the route the box names; false (after its box) for none, a path, a missing route or
    // one without the weather's files.
    bool takeChosenRoute(fog::Weather weather);
    // Shows what keeps a run from being installed; true when it was installed.
    bool reportRunOutcome(fog::RunOutcome outcome, const fog::RunReport& report);
    void onRestoreClicked();
    fog::Weather checkedWeather() const;
    QRadioButton* weatherButton(fog::Weather weather) const;
    void writeSummary();
    void showCompletionPage();
    void showChoosingPage();
    void showRun(const fog::RunRecord& record);
    // The record in Dump, read once; one that cannot be trusted is set aside, and that is said.
    std::optional<fog::RunRecord> setAsideRefusedRecord();
    void reportNotPutBack(const std::string& installRoot, const std::string& route,
                          const fog::RestoreOutcome& outcome);
    bool restore(const fog::RunRecord& record);
    void recoverRoute(const fog::RunRecord& record);
    // openUnrestoredRun, then reportUnrestoredRun when there was a run.
    bool resumeUnrestoredRun();

    // Controls: the choosing page (route, weather, fog) over the completion page.
    std::unique_ptr<Ui::FogRunPage> ui_;

    fog::Session session_;
    settings::WindowTexts texts_;
};
