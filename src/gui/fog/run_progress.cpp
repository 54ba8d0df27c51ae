#include "gui/fog/run_progress.h"

#include <QCloseEvent>
#include <QProgressBar>
#include <QProgressDialog>
#include <algorithm>
#include <limits>

#include "core/fog/discovery.h"

namespace {

// The work cannot be stopped half-way: neither Escape nor the window system closes the dialog.
class StepProgressDialog : public QProgressDialog {
  public:
    using QProgressDialog::QProgressDialog;

  protected:
    void reject() override {}
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

int ToInt(std::size_t n) {
    return static_cast<int>(std::min<std::size_t>(n, std::numeric_limits<int>::max()));
}

}  // namespace

StepCount StepCount::ForRun(const fog::FogRunRequest& request) {
    const std::size_t files =
        fog::HandledSlots(request.found.names, request.found.multiFileMode).size();
    return StepCount(2 * files + 1 + 2 * files);
}

StepCount StepCount::ForRestore(const fog::RunRecord& record) {
    return StepCount(2 * record.files.size() + record.textures.size() + record.added.size() + 1);
}

void StepCount::Take(fog::Step step, std::size_t index) {
    ++done_;
    // Those two tell how many textures and Open Rails files follow: each staged and added.
    if (step == fog::Step::RecordWritten) all_ += 2 * index;
    if (step == fog::Step::AddedRecorded) all_ += 1 + 2 * index;
    // A run that did not take is put back at once, with steps of its own.
    all_ = std::max(all_, done_);
}

RunProgress::RunProgress(QWidget* parent, const QString& text, StepCount steps)
    : steps_(steps),
      dialog_(std::make_unique<StepProgressDialog>(
          text, QString(), 0, ToInt(steps.All()), parent,
          Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)) {
    QWidget* window = parent->window();
    dialog_->setWindowTitle(window->windowTitle());
    dialog_->setFont(window->font());
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setCancelButton(nullptr);
    auto* bar = new QProgressBar(dialog_.get());
    bar->setFormat(QStringLiteral("%v / %m"));
    dialog_->setBar(bar);
    dialog_->setRange(0, ToInt(steps.All()));
    // Closed here, when the work is done, not when the count says so.
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
    dialog_->setMinimumDuration(500);
    dialog_->setValue(0);  // starts the clock
}

RunProgress::~RunProgress() = default;

fog::StepHook RunProgress::hook() {
    return [this](fog::Step step, std::size_t index) { onStep(step, index); };
}

void RunProgress::onStep(fog::Step step, std::size_t index) {
    steps_.Take(step, index);
    if (ToInt(steps_.All()) != dialog_->maximum()) dialog_->setMaximum(ToInt(steps_.All()));
    // Shows the dialog once the work looks like it takes longer than the minimum duration, and
    // from then on keeps it painted.
    dialog_->setValue(ToInt(steps_.Done()));
}
