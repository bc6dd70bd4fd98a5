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
// the listed files are counted; then it counts in whole percent: the bytes
// of the files copied, then the printer and the computer as the last steps,
// never the full bar before the report is placed. Hidden, keeping its room,
// once the run stops; full after a report was placed. The news of the run is
// handed over without waiting; the GUI thread shows the latest, a few times a
// second at most.
class ProgressBarIndicator final : public BusyIndicator, public RunProgress {
public:
    static constexpr int BAR_MAXIMUM = 100;
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

    // Hidden, keeping its room: an empty bar at rest looks like a text field.
    static void showAtRest(QProgressBar* bar);
    // Full: the report was placed.
    static void showComplete(QProgressBar* bar);
    // Busy, or counting towards the full bar.
    static bool showsARun(const QProgressBar* bar);

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
// standard output. `beforeBox` hears of every box, with its message and
// text, on the GUI thread, before the box shows: whether it ends the run (the
// indicator has stopped) or asks the user during it (no printer found). A
// failure's box says under its message what failed, and names the partial
// report the run left.
class WindowReporter final : public platform::Reporter {
public:
    using BoxListener = std::function<void(const UserMessage& message, const QString& text, bool endsTheRun)>;
    WindowReporter(QWidget* window, const ProgressBarIndicator& indicator, BoxListener beforeBox);
    void progress(const std::string& line) override;
    void showInformation(const UserMessage& message) override;
    void showError(const UserMessage& message) override;

private:
    QWidget* window_;
    const ProgressBarIndicator& indicator_;
    BoxListener beforeBox_;
};
