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

bool ProgressBarIndicator::isAnimating(const QProgressBar* bar)
{
    return bar->minimum() == 0 && bar->maximum() == 0;
}

WindowMessageBoxes::WindowMessageBoxes(QWidget* window) : window_(window) {}

void WindowMessageBoxes::showInformation(const std::string& message)
{
    gui::runOnThreadOf(window_, [this, &message] { util::showMessageBox(message, window_); });
}

void WindowMessageBoxes::showError(const std::string& message)
{
    gui::runOnThreadOf(window_, [this, &message] { util::showErrorMessage(message, window_); });
}
