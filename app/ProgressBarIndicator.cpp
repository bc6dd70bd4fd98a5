#include "app/ProgressBarIndicator.h"

#include "app/GuiThread.h"
#include "app/PacedUpdate.h"

#include <QFile>
#include <QMetaObject>
#include <QPointer>
#include <QProgressBar>

#include <algorithm>
#include <mutex>
#include <utility>

namespace {

// The run as the bar last heard of it.
struct RunState {
    bool counted = false;
    std::uint64_t totalBytes = 0;
    std::uint64_t copiedBytes = 0;
    RunStep step = RunStep::copyingFiles;
    std::string file;
    // A step or file not shown yet.
    bool stepChanged = false;
};

// The bar's value for a run: the files' share by their bytes, then one
// share each for the printer and the computer; the full bar is kept for the
// placed report.
int barValue(const RunState& run)
{
    constexpr int MAXIMUM = ProgressBarIndicator::BAR_MAXIMUM;
    const int filesShare = run.totalBytes > 0 ? MAXIMUM * 9 / 10 : 0;
    const int stepShare = (MAXIMUM - 1 - filesShare) / 2;
    switch (run.step) {
    case RunStep::copyingFiles: {
        if (run.totalBytes == 0)
            return 0;
        // A file may have grown since it was counted.
        const std::uint64_t copied = std::min(run.copiedBytes, run.totalBytes);
        return static_cast<int>(copied * static_cast<std::uint64_t>(filesShare) / run.totalBytes);
    }
    case RunStep::readingPrinter:
        return filesShare;
    case RunStep::describingComputer:
        return filesShare + stepShare;
    case RunStep::finishing:
        return MAXIMUM - 1;
    }
    return 0;
}

} // namespace

// What the worker writes and the GUI thread reads; outlives the indicator
// should a queued update come late.
struct ProgressBarIndicator::Shared {
    std::mutex mutex;
    RunState run;
    bool updateQueued = false;
    QPointer<QProgressBar> bar;
    StepListener onStep;
    // Made and used on the GUI thread.
    PacedUpdate paced{[this] { show(); }};

    // On the GUI thread, at a pace a person can follow.
    void requestShow()
    {
        {
            std::lock_guard lock(mutex);
            updateQueued = false;
        }
        paced.request();
    }

    // On the GUI thread: shows the latest state.
    void show()
    {
        RunState now;
        {
            std::lock_guard lock(mutex);
            now = run;
            run.stepChanged = false;
        }
        if (!bar || !now.counted)
            return;
        // The words first: whoever hears the value change finds them.
        if (now.stepChanged && onStep)
            onStep(now.step, QFile::decodeName(QByteArray::fromStdString(now.file)));
        startCounting();
        bar->setValue(barValue(now));
    }

    void startCounting()
    {
        if (bar && bar->maximum() != BAR_MAXIMUM) {
            bar->reset();
            bar->setRange(0, BAR_MAXIMUM);
            bar->setValue(0);
        }
    }
};

ProgressBarIndicator::ProgressBarIndicator(QProgressBar* bar, StepListener onStep, std::function<void()> onRest)
    : bar_(bar),
      shared_(std::make_shared<Shared>()),
      onRest_(std::move(onRest))
{
    shared_->bar = bar;
    shared_->onStep = std::move(onStep);
}

void ProgressBarIndicator::startAnimation()
{
    gui::runOnThreadOf(bar_, [this] {
        animating_ = true;
        {
            std::lock_guard lock(shared_->mutex);
            shared_->run = {};
        }
        bar_->setRange(0, 0);
        bar_->show();
    });
}

void ProgressBarIndicator::stopAnimation()
{
    // Queued after every update, so none comes after the rest.
    gui::runOnThreadOf(bar_, [this] {
        animating_ = false;
        {
            std::lock_guard lock(shared_->mutex);
            shared_->run.counted = false;
        }
        shared_->paced.cancel();
        showAtRest(bar_);
        if (onRest_)
            onRest_();
    });
}

template <typename Change>
void ProgressBarIndicator::update(Change change)
{
    bool queue = false;
    {
        std::lock_guard lock(shared_->mutex);
        change(shared_->run);
        queue = !std::exchange(shared_->updateQueued, true);
    }
    // One update waits at a time, showing whatever is latest when it runs:
    // a run over thousands of small files does not flood the window.
    if (queue)
        QMetaObject::invokeMethod(
            bar_, [shared = shared_] { shared->requestShow(); }, Qt::QueuedConnection);
}

void ProgressBarIndicator::filesCounted(std::uint64_t bytes)
{
    {
        std::lock_guard lock(shared_->mutex);
        shared_->run.counted = true;
        shared_->run.totalBytes = bytes;
    }
    // Not folded into a later update: the count starts from 0 in sight.
    QMetaObject::invokeMethod(
        bar_, [shared = shared_] { shared->startCounting(); }, Qt::QueuedConnection);
}

void ProgressBarIndicator::stepStarted(RunStep step, const std::string& file)
{
    update([step, &file](RunState& run) {
        run.step = step;
        run.file = file;
        run.stepChanged = true;
    });
}

void ProgressBarIndicator::filesCopied(std::uint64_t bytes)
{
    update([bytes](RunState& run) { run.copiedBytes = bytes; });
}

void ProgressBarIndicator::showAtRest(QProgressBar* bar)
{
    bar->setRange(0, 1);
    bar->setValue(0);
    bar->hide();
}

void ProgressBarIndicator::showComplete(QProgressBar* bar)
{
    bar->setRange(0, BAR_MAXIMUM);
    bar->setValue(BAR_MAXIMUM);
    bar->show();
}

bool ProgressBarIndicator::showsARun(const QProgressBar* bar)
{
    return !bar->isHidden() && (bar->maximum() == 0 || bar->value() < bar->maximum());
}
