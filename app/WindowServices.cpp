#include "WindowServices.h"

#include "GuiThread.h"
#include "util.h"

#include <QProgressBar>

#include <utility>

ProgressBarIndicator::ProgressBarIndicator(QProgressBar* bar) : bar_(bar) {}

void ProgressBarIndicator::startAnimation()
{
    gui::runOnThreadOf(bar_, [this] {
        animating_ = true;
        bar_->setRange(0, 0);
    });
}

void ProgressBarIndicator::stopAnimation()
{
    gui::runOnThreadOf(bar_, [this] {
        animating_ = false;
        showAtRest(bar_);
    });
}

void ProgressBarIndicator::showAtRest(QProgressBar* bar)
{
    bar->setRange(0, 1);
    bar->setValue(0);
}

WindowReporter::WindowReporter(QWidget* window, const ProgressBarIndicator& indicator, OutcomeListener beforeOutcome)
    : window_(window), indicator_(indicator), beforeOutcome_(std::move(beforeOutcome))
{
}

void WindowReporter::tellIfOutcome(const std::string& message, bool failed)
{
    // A box while the indicator runs is news on the way (no printer found).
    if (!indicator_.isAnimating() && beforeOutcome_)
        beforeOutcome_(message, failed);
}

void WindowReporter::progress(const std::string& line)
{
    platform::consoleReporter().progress(line);
}

void WindowReporter::showInformation(const std::string& message)
{
    gui::runOnThreadOf(window_, [this, &message] {
        tellIfOutcome(message, false);
        util::showMessageBox(message, window_);
    });
}

void WindowReporter::showError(const std::string& message)
{
    gui::runOnThreadOf(window_, [this, &message] {
        tellIfOutcome(message, true);
        util::showErrorMessage(message, window_);
    });
}
