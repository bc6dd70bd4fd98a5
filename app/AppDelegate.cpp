#include "app/AppDelegate.h"

#include "app/ApplicationIdentity.h"
#include "app/DesktopSession.h"
#include "app/GuiThread.h"
#include "app/MessageBoxReporter.h"
#include "app/PlacedReportRow.h"
#include "app/ProgressBarIndicator.h"
#include "app/WindowSizing.h"
#include "app/util.h"
#include "base/AbsolutePath.h"
#include "core/report/ErrorMessages.h"
#include "platform/ResourceLocator.h"
#include "platform/Services.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QPointer>

#include <utility>

namespace {

// The worker's whole job. Nothing may leave it: an exception escaping a
// thread ends the program without a word to the user.
PressResult pressOnWorker(const AppDelegate::RequestSource& requestForPress, const std::string& supportFault,
                          ProgressBarIndicator& indicator, const CancellationFlag& cancellation,
                          platform::Reporter& reporter)
{
    try {
        ReportRequest request = requestForPress();
        // The tool's own files that could not be read are noted in the run's log.
        if (!supportFault.empty())
            request.logLines.push_back(supportFault);
        request.progress = &indicator;
        request.cancellation = &cancellation;
        return runReportPress(indicator, request);
    } catch (...) {
        // runReportPress reports its own failures; this is what got past it.
        try {
            indicator.stopAnimation();
            reporter.showError({.kind = UserMessage::Kind::unexpectedFailure, .text = UNEXPECTED_FAILURE_MESSAGE});
        } catch (...) {
            // Nothing left to tell the user with.
        }
    }
    return {};
}

// The window laid out as its description says, for the members that hold
// its widgets.
std::unique_ptr<Ui::MainWindow> laidOut(QMainWindow* window)
{
    auto ui = std::make_unique<Ui::MainWindow>();
    ui->setupUi(window);
    return ui;
}

// Clears the busy state of the window however the press ends: the report
// button takes no press while the cancel button shows.
class PressInProgress {
public:
    PressInProgress(bool& running, QWidget* input, QWidget* cancel) : running_(running), input_(input), cancel_(cancel)
    {
        running_ = true;
        input_->setEnabled(false);
        cancel_->setEnabled(true);
        cancel_->show();
    }
    ~PressInProgress()
    {
        cancel_->hide();
        input_->setEnabled(true);
        running_ = false;
    }
    PressInProgress(const PressInProgress&) = delete;
    PressInProgress& operator=(const PressInProgress&) = delete;

private:
    bool& running_;
    QWidget* input_;
    QWidget* cancel_;
};

} // namespace

ReportRequest AppDelegate::shippedReportRequest()
{
    ReportRequest request;
    request.dataXmlPath = platform::findResource("data.xml");
    return request;
}

AppDelegate::AppDelegate(RequestSource requestForPress, DesktopSession* session, QWidget* parent)
    : QMainWindow(parent),
      ui_(laidOut(this)),
      requestForPress_(std::move(requestForPress)),
      ownSession_(session ? nullptr : std::make_unique<FreedesktopSession>()),
      session_(session ? session : ownSession_.get()),
      notifier_(*this, *session_),
      status_(*ui_->statusLine, *ui_->indicator),
      returnKey_({ui_->button, ui_->placedReport->openFolderButton()})
{
    setWindowIcon(QIcon::fromTheme(QString::fromLatin1(APPLICATION_ID)));
    ui_->placedReport->setSession(session_);
    keepTheBarsRoom();
    fitTheWindowToItsContent();
    connectTheButtons();
    ui_->button->setFocus();
}

// The sizing stops watching before the window goes.
AppDelegate::~AppDelegate() = default;

void AppDelegate::keepTheBarsRoom()
{
    // Hidden at rest, keeping its room, and as high as the cancel button
    // beside it, so that nothing moves when a run starts.
    QSizePolicy barPolicy = ui_->indicator->sizePolicy();
    barPolicy.setRetainSizeWhenHidden(true);
    ui_->indicator->setSizePolicy(barPolicy);
    ui_->indicator->setMinimumHeight(ui_->cancelButton->sizeHint().height());
    ProgressBarIndicator::showAtRest(ui_->indicator);
    ui_->cancelButton->hide();
}

void AppDelegate::fitTheWindowToItsContent()
{
    sizing_ = std::make_unique<WindowSizing>(*this);
    // A name as long as any the report gives its archive: with a larger
    // font the window opens wider, and elides the name only when narrowed.
    sizing_->openWideEnoughFor(ui_->placedReport->widthShowing(QStringLiteral("Telvarin_12_31_2011__12_59_PM.zip")));
}

void AppDelegate::connectTheButtons()
{
    connect(ui_->button, &QPushButton::clicked, this, &AppDelegate::clickButton);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &AppDelegate::cancelReport);
}

QProgressBar* AppDelegate::indicator() const
{
    return ui_->indicator;
}

ElidingLabel* AppDelegate::statusLine() const
{
    return ui_->statusLine;
}

QPushButton* AppDelegate::button() const
{
    return ui_->button;
}

QPushButton* AppDelegate::cancelButton() const
{
    return ui_->cancelButton;
}

QLabel* AppDelegate::explanation() const
{
    return ui_->explanation;
}

PlacedReportRow* AppDelegate::placedReport() const
{
    return ui_->placedReport;
}

void AppDelegate::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && running_) {
        event->accept();
        ui_->cancelButton->click();
        return;
    }
    if (returnKey_.pressFor(*event, focusWidget())) {
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void AppDelegate::clickButton()
{
    // The report runs on a worker so that the indicator keeps painting; the
    // window takes no further press until it is done.
    if (running_)
        return;
    startOver();
    SupportContactLookup support = supportContactSource_();
    ui_->placedReport->setSupportContact(std::move(support.contact));
    endThePress(runTheReport(support.fault));
}

void AppDelegate::startOver()
{
    ui_->placedReport->withdraw();
    returnKey_.makeDefault(ui_->button);
    status_.clear();
    cancellation_.clear();
}

PressResult AppDelegate::runTheReport(const std::string& supportFault)
{
    // Keys go to the bar, which passes them to the window: a held key must
    // not press the cancel button the disabled one would hand its focus to.
    if (ui_->button->hasFocus())
        ui_->indicator->setFocus(Qt::OtherFocusReason);
    PressInProgress busy(running_, ui_->button, ui_->cancelButton);
    status_.makingTheReport();

    // Once the run has stopped there is nothing left to cancel, also while
    // its last box is up; once asked to stop, the line says so until it has.
    ProgressBarIndicator indicator(
        ui_->indicator,
        [this](RunStep step, const QString& file) {
            if (!cancellation_.isRequested())
                status_.step(step, file);
        },
        [this] { ui_->cancelButton->hide(); });
    MessageBoxReporter reporter(this, indicator,
                                [this](const UserMessage& message, const QString& text, bool endsTheRun) {
                                    if (endsTheRun)
                                        showOutcome(message, text);
                                    else
                                        notifier_.waitingForAnswer(text);
                                });
    platform::Services services = platform::currentServices();
    services.reporter = &reporter;
    platform::ScopedServices windowReporter(std::move(services));

    PressResult result;
    gui::runBesideEventLoop(
        [&] { result = pressOnWorker(requestForPress_, supportFault, indicator, cancellation_, reporter); });
    return result;
}

void AppDelegate::showOutcome(const UserMessage& message, const QString& text)
{
    const bool placed = message.kind == UserMessage::Kind::reportPlaced;
    const std::string& archive = message.archivePath;
    if (placed) {
        ProgressBarIndicator::showComplete(ui_->indicator);
        status_.placed();
    } else {
        status_.failed(text, !archive.empty());
    }
    // The row under the line names the file.
    std::function<void()> openFolder;
    if (!archive.empty()) {
        PlacedReportRow* row = ui_->placedReport;
        row->offer(archive, placed ? PlacedReportRow::Kind::report : PlacedReportRow::Kind::partialReport,
                   placed ? std::string() : message.text);
        openFolder = [row = QPointer<PlacedReportRow>(row), archive] {
            // Only while the row still offers the file the notification named.
            if (row && row->archive() == archive)
                row->openFolder();
        };
    }
    notifier_.runEnded(placed, text, fileNameOf(archive), std::move(openFolder));
}

void AppDelegate::endThePress(const PressResult& result)
{
    PlacedReportRow* row = ui_->placedReport;
    if (row->isOffering())
        row->listContents(result.entries);
    if (result.cancelled)
        status_.cancelled();
    // After a placed report Return opens its folder; else it starts the next
    // press. Disabling the button during the run took the focus from it.
    const bool placed = row->isOffering() && row->kind() == PlacedReportRow::Kind::report;
    returnKey_.makeDefault(placed ? row->openFolderButton() : ui_->button);
    returnKey_.current()->setFocus();
    if (std::exchange(closeRequested_, false))
        close();
}

void AppDelegate::cancelReport()
{
    if (!running_ || !cancellation_.request())
        return;
    if (ui_->cancelButton->hasFocus())
        ui_->indicator->setFocus(Qt::OtherFocusReason);
    ui_->cancelButton->setEnabled(false);
    status_.cancelling();
}

void AppDelegate::closeEvent(QCloseEvent* event)
{
    // Closing quits the application; not while the worker still needs the
    // window for its message boxes. Once the user agrees, the run is
    // cancelled and the window closes when it has stopped.
    if (running_) {
        event->ignore();
        if (closeRequested_)
            return;
        if (cancellation_.isRequested() || util::askToStopTheRunAndClose(this)) {
            closeRequested_ = true;
            cancelReport();
        }
        return;
    }
    QMainWindow::closeEvent(event);
}
