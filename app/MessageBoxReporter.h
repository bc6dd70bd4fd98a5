#pragma once
// The report's reporter as the window's message boxes. Called from the
// worker thread that runs the report; the boxes show on the GUI thread.

#include "platform/Services.h"

#include <QString>

#include <functional>
#include <string>

class ProgressBarIndicator;
class QWidget;

// The window's modal boxes, centred on the window and worded in the user's
// language, behind the report's reporter; progress lines still go to
// standard output. `beforeBox` hears of every box, with its message and
// text, on the GUI thread, before the box shows: whether it ends the run (the
// indicator has stopped) or asks the user during it (no printer found). A
// failure's box says under its message what failed, and names the partial
// report the run left.
class MessageBoxReporter final : public platform::Reporter {
public:
    using BoxListener = std::function<void(const UserMessage& message, const QString& text, bool endsTheRun)>;
    MessageBoxReporter(QWidget* window, const ProgressBarIndicator& indicator, BoxListener beforeBox);
    void progress(const std::string& line) override;
    void showInformation(const UserMessage& message) override;
    void showError(const UserMessage& message) override;

private:
    QWidget* window_;
    const ProgressBarIndicator& indicator_;
    BoxListener beforeBox_;
};
