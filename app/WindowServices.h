#pragma once
// What the report core needs from the window during a press: the busy
// indicator and the reporter with its message boxes. Both may be called from the worker thread
// that runs the report; they do their work on the GUI thread.

#include "ReportPress.h"
#include "Services.h"

#include <QString>

#include <functional>

class QProgressBar;
class QWidget;

// A progress bar in busy mode (range 0..0) while animating.
class ProgressBarIndicator final : public BusyIndicator {
public:
    explicit ProgressBarIndicator(QProgressBar* bar);
    void startAnimation() override;
    void stopAnimation() override;
    // Whether the run goes on; read it on the GUI thread.
    bool isAnimating() const { return animating_; }

    static void showAtRest(QProgressBar* bar);

private:
    QProgressBar* bar_;
    bool animating_ = false;
};

// The window's modal boxes, centred on the window and worded in the user's
// language, behind the report's reporter; progress lines still go to
// standard output. A box shown once the indicator has stopped tells how the
// run ended: `beforeOutcome` hears of it, with the box's text, on the GUI
// thread, before the box shows.
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
