#include "WindowServices.h"

#include "GuiThread.h"
#include "util.h"

#include <QProgressBar>

ProgressBarIndicator::ProgressBarIndicator(QProgressBar* bar) : bar_(bar) {}

void ProgressBarIndicator::startAnimation()
{
    gui::runOnThreadOf(bar_, [this] { bar_->setRange(0, 0); });
}

void ProgressBarIndicator::stopAnimation()
{
    gui::runOnThreadOf(bar_, [this] { showAtRest(bar_); });
}

void ProgressBarIndicator::showAtRest(QProgressBar* bar)
{
    bar->setRange(0, 1);
    bar->setValue(0);
}

WindowReporter::WindowReporter(QWidget* window) : window_(window) {}

void WindowReporter::progress(const std::string& line)
{
    platform::consoleReporter().progress(line);
}

void WindowReporter::showInformation(const std::string& message)
{
    gui::runOnThreadOf(window_, [this, &message] { util::showMessageBox(message, window_); });
}

void WindowReporter::showError(const std::string& message)
{
    gui::runOnThreadOf(window_, [this, &message] { util::showErrorMessage(message, window_); });
}
