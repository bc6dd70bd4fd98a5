#include "app/AppDelegate.h"

#include "app/ApplicationIdentity.h"
#include "app/DesktopSession.h"
#include "app/DisplayText.h"
#include "app/GuiThread.h"
#include "app/PlacedReportRow.h"
#include "app/WindowServices.h"
#include "app/WindowSizing.h"
#include "app/util.h"
#include "core/report/ErrorMessages.h"
#include "platform/ResourceLocator.h"
#include "platform/Services.h"
#include "ui_MainWindow.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QPointer>

#include <filesystem>
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
            reporter.showError(
                {.kind = UserMessage::Kind::unexpectedFailure, .text = UNEXPECTED_FAILURE_MESSAGE});
        } catch (...) {
            // Nothing left to tell the user with.
        }
    }
    return {};
}

std::string fileNameOf(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
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
      ui_(std::make_unique<Ui::MainWindow>()),
      requestForPress_(std::move(requestForPress)),
      ownSession_(session ? nullptr : std::make_unique<FreedesktopSession>()),
      session_(session ? session : ownSession_.get()),
      notifier_(*this, *session_)
{
    ui_->setupUi(this);
    setWindowIcon(QIcon::fromTheme(QString::fromLatin1(APPLICATION_ID)));
    ui_->placedReport->setSession(session_);
    // The bar keeps its room while hidden at rest, and is as high as the
    // cancel button beside it, so that nothing moves when a run starts.
    QSizePolicy barPolicy = ui_->indicator->sizePolicy();
    barPolicy.setRetainSizeWhenHidden(true);
    ui_->indicator->setSizePolicy(barPolicy);
    ui_->indicator->setMinimumHeight(ui_->cancelButton->sizeHint().height());
    ProgressBarIndicator::showAtRest(ui_->indicator);
    ui_->cancelButton->hide();
    sizing_ = std::make_unique<WindowSizing>(*this);
    // A name as long as any the report gives its archive: with a larger
    // font the window opens wider, and elides the name only when narrowed.
    sizing_->openWideEnoughFor(ui_->placedReport->widthShowing(QStringLiteral("Telvarin_12_31_2011__12_59_PM.zip")));
    connect(ui_->button, &QPushButton::clicked, this, &AppDelegate::clickButton);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &AppDelegate::cancelReport);
    ui_->button->setFocus();
}

// The sizing stops watching before the window goes.
AppDelegate::~AppDelegate() = default;

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

ElidingLabel* AppDelegate::placedFileName() const
{
    return ui_->placedReport->fileName();
}

QPushButton* AppDelegate::openFolderButton() const
{
    return ui_->placedReport->openFolderButton();
}

QLabel* AppDelegate::actionNote() const
{
    return ui_->placedReport->actionNote();
}

void AppDelegate::keyPressEvent(QKeyEvent* event)
{
    // A focused button takes Return and Space itself. Return that no button
    // took presses the default button, as in a dialog.
    const int key = event->key();
    if (key == Qt::Key_Escape && running_) {
        event->accept();
        ui_->cancelButton->click();
        return;
    }
    const bool returnKey = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (returnKey && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
        !qobject_cast<QAbstractButton*>(focusWidget())) {
        event->accept();
        defaultButton()->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

QPushButton* AppDelegate::defaultButton() const
{
    return defaultButton_ && defaultButton_->isVisibleTo(this) ? defaultButton_ : ui_->button;
}

void AppDelegate::makeDefault(QPushButton* button)
{
    // Drawn as the default; a button that takes the focus is drawn so
    // while it has it.
    defaultButton_ = button;
    for (QPushButton* candidate : {ui_->button, ui_->placedReport->openFolderButton()})
        candidate->setDefault(candidate == button);
}

void AppDelegate::showStatus(const QString& text, ElidingLabel::Fit fit)
{
    ui_->statusLine->setFullText(text, fit);
    // The bar is what a screen reader follows during a run; its label is
    // this line, and its description says the same.
    ui_->indicator->setAccessibleDescription(text);
}

void AppDelegate::showStep(RunStep step, const QString& file)
{
    // Once asked to stop, the line says so until the run has.
    if (cancellation_.isRequested())
        return;
    switch (step) {
    case RunStep::copyingFiles:
        //: Under the progress bar while a file is copied into the report. %1 is the file's path.
        showStatus(tr("Copying “%1”…").arg(displayText::inSentence(file)));
        break;
    case RunStep::readingPrinter:
        //: Under the progress bar while the printer's report is read over USB.
        showStatus(tr("Reading the printer's report…"));
        break;
    case RunStep::describingComputer:
        //: Under the progress bar while the facts about the computer are gathered.
        showStatus(tr("Gathering facts about this computer…"));
        break;
    case RunStep::finishing:
        //: Under the progress bar while the report's file is written to its end and named.
        showStatus(tr("Finishing the report…"));
        break;
    }
}

void AppDelegate::showOutcome(const UserMessage& message, const QString& text)
{
    const bool placed = message.kind == UserMessage::Kind::reportPlaced;
    const std::string& archive = message.archivePath;
    // The row under the line names the file.
    if (placed) {
        ProgressBarIndicator::showComplete(ui_->indicator);
        //: Under the full progress bar once a report was placed; its file name shows under this line.
        showStatus(tr("The report was placed on the desktop."), ElidingLabel::Fit::wrapped);
    } else if (!archive.empty()) {
        //: Where the progress bar was, after a failure that left a valid zip file of what it had gathered,
        //: whose name shows under this line. %1 is the failure's message (the sentence of its box).
        showStatus(tr("The report failed: %1. A partial report was saved.").arg(text), ElidingLabel::Fit::wrapped);
    } else {
        //: Where the progress bar was, after a failure. %1 is the failure's message (the sentence of its box).
        showStatus(tr("The report failed: %1.").arg(text), ElidingLabel::Fit::wrapped);
    }
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

void AppDelegate::startOver()
{
    ui_->placedReport->withdraw();
    makeDefault(ui_->button);
    showStatus({});
}

void AppDelegate::clickButton()
{
    // The report runs on a worker so that the indicator keeps painting; the
    // window takes no further press until it is done.
    if (running_)
        return;
    startOver();
    cancellation_.clear();
    SupportContactLookup support = supportContactSource_();
    ui_->placedReport->setSupportContact(std::move(support.contact));
    PressResult result;
    {
        // Keys go to the bar, which passes them to the window: a held key
        // must not press the cancel button the disabled one would hand
        // its focus to.
        if (ui_->button->hasFocus())
            ui_->indicator->setFocus(Qt::OtherFocusReason);
        PressInProgress busy(running_, ui_->button, ui_->cancelButton);
        //: Under the progress bar while a report is being made.
        showStatus(tr("Making the report…"));

        // Once the run has stopped there is nothing left to cancel, also while
        // its last box is up.
        ProgressBarIndicator indicator(
            ui_->indicator, [this](RunStep step, const QString& file) { showStep(step, file); },
            [this] { ui_->cancelButton->hide(); });
        WindowReporter reporter(this, indicator, [this](const UserMessage& message, const QString& text,
                                                        bool endsTheRun) {
            if (endsTheRun)
                showOutcome(message, text);
            else
                notifier_.waitingForAnswer(text);
        });
        platform::Services services = platform::currentServices();
        services.reporter = &reporter;
        platform::ScopedServices windowReporter(std::move(services));

        gui::runBesideEventLoop(
            [&] { result = pressOnWorker(requestForPress_, support.fault, indicator, cancellation_, reporter); });
    }
    if (ui_->placedReport->isOffering())
        ui_->placedReport->listContents(result.entries);
    if (result.cancelled)
        //: Under the progress bar once a report was cancelled; nothing was left behind.
        showStatus(tr("The report was cancelled."), ElidingLabel::Fit::wrapped);
    // After a placed report Return opens its folder; else it starts the next
    // press. Disabling the button during the run took the focus from it.
    PlacedReportRow* row = ui_->placedReport;
    const bool placed = row->isOffering() && row->kind() == PlacedReportRow::Kind::report;
    makeDefault(placed ? row->openFolderButton() : ui_->button);
    defaultButton()->setFocus();
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
    //: Under the progress bar once Cancel was pressed, until the report has stopped.
    showStatus(tr("Cancelling the report…"));
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
