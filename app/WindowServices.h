#pragma once
// What the report core needs from the window during a press: the indicator
// with the run's progress, and the reporter with its message boxes. Both
// are called from the worker thread that runs the report; they do their
// work on the GUI thread.

#include "base/RunProgress.h"
#include "core/report/ReportPress.h"
#include "platform/Services.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QProgressBar;
class QWidget;

// A progress bar in busy mode (range 0..0) from the start of a run until
// the listed files are counted; then it counts from 0 to BAR_MAXIMUM: the
// bytes of the files copied, then the printer and the computer as the last
// steps. At rest (range 0..1, empty) once the run stops. The news of the
// run is handed over without waiting; the GUI thread shows the latest.
class ProgressBarIndicator final : public BusyIndicator, public RunProgress {
public:
    static constexpr int BAR_MAXIMUM = 1000;
    // Told, on the GUI thread, of each step the bar shows; `file` is the
    // file being copied, empty in the other steps.
    using StepListener = std::function<void(RunStep step, const QString& file)>;

    // `onRest` hears, on the GUI thread, that the run has stopped, before
    // any box says how it ended.
    ProgressBarIndicator(QProgressBar* bar, StepListener onStep, std::function<void()> onRest = {});
    void startAnimation() override;
    void stopAnimation() override;
    void filesCounted(std::uint64_t bytes) override;
    void stepStarted(RunStep step, const std::string& file) override;
    void filesCopied(std::uint64_t bytes) override;
    // Whether the run goes on; read it on the GUI thread.
    bool isAnimating() const { return animating_; }

    static void showAtRest(QProgressBar* bar);

private:
    struct Shared;
    template <typename Change>
    void update(Change change);

    QProgressBar* bar_;
    std::shared_ptr<Shared> shared_;
    std::function<void()> onRest_;
    bool animating_ = false;
};

// The window's modal boxes, centred on the window and worded in the user's
// language, behind the report's reporter; progress lines still go to
// standard output. A box shown once the indicator has stopped tells how the
// run ended: `beforeOutcome` hears of it, with the box's text, on the GUI
// thread, before the box shows. A failure's detail is worded under its
// message.
class WindowReporter final : public platform::Reporter {
public:
    using OutcomeListener = std::function<void(const QString& message, bool failed)>;
    WindowReporter(QWidget* window, const ProgressBarIndicator& indicator, OutcomeListener beforeOutcome);
    void progress(const std::string& line) override;
    void showInformation(const platform::Message& message) override;
    void showError(const platform::Message& message) override;

private:
    void tellIfOutcome(const QString& message, bool failed);

    QWidget* window_;
    const ProgressBarIndicator& indicator_;
    OutcomeListener beforeOutcome_;
};
