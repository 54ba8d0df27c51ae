#pragma once
// The progress of a fog run or restore, which runs on the window's own thread: the run's step
// reports move a progress dialog on. The dialog comes up only for work that takes longer than
// half a second, shows the steps done of all, and offers no way to stop: files are being replaced,
// and a route left half-way would help nobody.
#include <QString>
#include <cstddef>
#include <memory>

#include "core/fog/fog_run.h"
#include "core/fog/restore.h"
#include "core/fog/run_record.h"

class QProgressDialog;
class QWidget;

// How many step reports a run or restore makes, as far as is known; the run tells the rest
// (its textures and Open Rails files) once its record is written.
class StepCount {
  public:
    // A run over its handled route files: each backed up and installed, staged first, and the
    // record.
    static StepCount ForRun(const fog::FogRunRequest& request);
    // A restore of a record: each file staged and put back, each texture and added file deleted,
    // and the record removed.
    static StepCount ForRestore(const fog::RunRecord& record);

    // Counts one report, and what it tells of those still to come.
    void Take(fog::Step step, std::size_t index);
    std::size_t Done() const { return done_; }
    std::size_t All() const { return all_; }

  private:
    explicit StepCount(std::size_t all) : all_(all) {}
    std::size_t done_ = 0;
    std::size_t all_;
};

class RunProgress {
  public:
    // `text` goes above the bar; the dialog is modal to `parent`'s window and takes its title.
    RunProgress(QWidget* parent, const QString& text, StepCount steps);
    ~RunProgress();
    RunProgress(const RunProgress&) = delete;
    RunProgress& operator=(const RunProgress&) = delete;

    // For RunFog or RestoreFog; valid while this object lives.
    fog::StepHook hook();

  private:
    void onStep(fog::Step step, std::size_t index);

    StepCount steps_;
    std::unique_ptr<QProgressDialog> dialog_;
};
