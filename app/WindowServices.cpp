#include "WindowServices.h"

#include "GuiThread.h"
#include "MessageWording.h"
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

void WindowReporter::tellIfOutcome(const QString& message, bool failed)
{
    // A box while the indicator runs is news on the way (no printer found).
    if (!indicator_.isAnimating() && beforeOutcome_)
        beforeOutcome_(message, failed);
}

void WindowReporter::progress(const std::string& line)
{
    platform::consoleReporter().progress(line);
}

void WindowReporter::showInformation(const platform::Message& message)
{
    gui::runOnThreadOf(window_, [this, &message] {
        const QString text = wordedMessage(message);
        tellIfOutcome(text, false);
        util::showMessageBox(text.toStdString(), window_);
    });
}

void WindowReporter::showError(const platform::Message& message)
{
    gui::runOnThreadOf(window_, [this, &message] {
        const QString text = wordedMessage(message);
        tellIfOutcome(text, true);
        util::showErrorMessage(text.toStdString(), window_);
    });
}
