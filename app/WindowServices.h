#pragma once
// What the report core needs from the window during a press: the busy
// indicator and the reporter with its message boxes. Both may be called from the worker thread
// that runs the report; they do their work on the GUI thread.

#include "ReportPress.h"
#include "Services.h"

class QProgressBar;
class QWidget;

// A progress bar in busy mode (range 0..0) while animating.
class ProgressBarIndicator final : public BusyIndicator {
public:
    explicit ProgressBarIndicator(QProgressBar* bar);
    void startAnimation() override;
    void stopAnimation() override;

    static void showAtRest(QProgressBar* bar);

private:
    QProgressBar* bar_;
};

// The window's modal boxes, centred on the window, behind the report's
// reporter; progress lines still go to standard output.
class WindowReporter final : public platform::Reporter {
public:
    explicit WindowReporter(QWidget* window);
    void progress(const std::string& line) override;
    void showInformation(const std::string& message) override;
    void showError(const std::string& message) override;

private:
    QWidget* window_;
};
