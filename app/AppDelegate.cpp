#include "AppDelegate.h"

#include "GuiThread.h"
#include "WindowServices.h"
#include "ErrorMessages.h"
#include "ResourceLocator.h"
#include "Services.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>

namespace {

// The worker's whole job. Nothing may leave it: an exception escaping a
// thread ends the program without a word to the user.
void pressOnWorker(const AppDelegate::RequestSource& requestForPress, BusyIndicator& indicator,
                   platform::Reporter& reporter)
{
    try {
        runReportPress(indicator, requestForPress());
    } catch (...) {
        // runReportPress reports its own failures; this is what got past it.
        try {
            indicator.stopAnimation();
            reporter.showError(UNEXPECTED_FAILURE_MESSAGE);
        } catch (...) {
            // Nothing left to tell the user with.
        }
    }
}

// Clears the busy state of the window however the press ends.
class PressInProgress {
public:
    PressInProgress(bool& running, QWidget* input) : running_(running), input_(input)
    {
        running_ = true;
        input_->setEnabled(false);
    }
    ~PressInProgress()
    {
        input_->setEnabled(true);
        running_ = false;
    }
    PressInProgress(const PressInProgress&) = delete;
    PressInProgress& operator=(const PressInProgress&) = delete;

private:
    bool& running_;
    QWidget* input_;
};

} // namespace

ReportRequest AppDelegate::shippedReportRequest()
{
    ReportRequest request;
    request.dataXmlPath = platform::findResource("data.xml");
    return request;
}

AppDelegate::AppDelegate(RequestSource requestForPress, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::MainWindow>()), requestForPress_(std::move(requestForPress))
{
    ui_->setupUi(this);
    ProgressBarIndicator::showAtRest(ui_->indicator);
    connect(ui_->button, &QPushButton::clicked, this, &AppDelegate::clickButton);
}

AppDelegate::~AppDelegate() = default;

QProgressBar* AppDelegate::indicator() const
{
    return ui_->indicator;
}

QPushButton* AppDelegate::button() const
{
    return ui_->button;
}

void AppDelegate::clickButton()
{
    // The report runs on a worker so that the indicator keeps painting; the
    // window takes no further press until it is done.
    if (running_)
        return;
    PressInProgress busy(running_, ui_->button);

    ProgressBarIndicator indicator(ui_->indicator);
    WindowReporter reporter(this);
    platform::Services services = platform::currentServices();
    services.reporter = &reporter;
    platform::ScopedServices windowReporter(std::move(services));

    gui::runBesideEventLoop([&] { pressOnWorker(requestForPress_, indicator, reporter); });
}

void AppDelegate::closeEvent(QCloseEvent* event)
{
    // Closing quits the application; not while the worker still needs the
    // window for its message boxes.
    if (running_)
        event->ignore();
    else
        QMainWindow::closeEvent(event);
}
