#include "app/AppDelegate.h"

#include "app/ApplicationIdentity.h"
#include "app/DesktopSession.h"
#include "app/ElidingLabel.h"
#include "app/GuiThread.h"
#include "app/WindowServices.h"
#include "core/report/ErrorMessages.h"
#include "platform/ResourceLocator.h"
#include "platform/Services.h"
#include "ui_MainWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>

#include <algorithm>
#include <utility>

namespace {

// The worker's whole job. Nothing may leave it: an exception escaping a
// thread ends the program without a word to the user.
PressResult pressOnWorker(const AppDelegate::RequestSource& requestForPress, ProgressBarIndicator& indicator,
                          const CancellationFlag& cancellation, platform::Reporter& reporter)
{
    try {
        ReportRequest request = requestForPress();
        request.progress = &indicator;
        request.cancellation = &cancellation;
        return runReportPress(indicator, request);
    } catch (...) {
        // runReportPress reports its own failures; this is what got past it.
        try {
            indicator.stopAnimation();
            reporter.showError(
                {.kind = platform::Message::Kind::unexpectedFailure, .text = UNEXPECTED_FAILURE_MESSAGE});
        } catch (...) {
            // Nothing left to tell the user with.
        }
    }
    return {};
}

QString localPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// A collected file's name may hold line breaks and other control characters;
// on one line they show as their pictures (U+2400 on).
QString onOneLine(QString text)
{
    for (QChar& character : text) {
        if (character.unicode() < 0x20)
            character = QChar(0x2400 + character.unicode());
        else if (character.unicode() == 0x7f)
            character = QChar(0x2421);
    }
    return text;
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
      session_(session ? session : ownSession_.get())
{
    ui_->setupUi(this);
    setWindowIcon(QIcon::fromTheme(QString::fromLatin1(APPLICATION_ID)));
    ProgressBarIndicator::showAtRest(ui_->indicator);
    designedMinimumSize_ = minimumSize();
    // The row keeps its room while hidden, so that the window does not jump
    // when a report was placed.
    QSizePolicy rowPolicy = ui_->placedReport->sizePolicy();
    rowPolicy.setRetainSizeWhenHidden(true);
    ui_->placedReport->setSizePolicy(rowPolicy);
    widenForAWholeArchiveName();
    // The bar is as high as the cancel button beside it, so that nothing
    // moves when a run starts.
    ui_->indicator->setMinimumHeight(ui_->cancelButton->sizeHint().height());
    ui_->cancelButton->hide();
    hidePlacedReport();
    hideOpenFolderFailure();
    connect(ui_->button, &QPushButton::clicked, this, &AppDelegate::clickButton);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &AppDelegate::cancelReport);
    connect(ui_->openFolderButton, &QPushButton::clicked, this, &AppDelegate::openPlacedReportFolder);
    ui_->button->setFocus();
}

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

ElidingLabel* AppDelegate::placedFileName() const
{
    return ui_->placedFileName;
}

QPushButton* AppDelegate::openFolderButton() const
{
    return ui_->openFolderButton;
}

QLabel* AppDelegate::openFolderFailure() const
{
    return ui_->openFolderFailure;
}

void AppDelegate::keyPressEvent(QKeyEvent* event)
{
    // A focused button takes Return and Space itself. Return that no button
    // took presses the report button, as a dialog's default button would.
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
        ui_->button->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void AppDelegate::fitMinimumSizeToContent()
{
    // Room for every text at the narrowest width, whatever the font: the
    // explanation wraps onto more lines as the window narrows.
    QLayout* layout = ui_->centralwidget->layout();
    const int width = std::max(designedMinimumSize_.width(), layout->totalMinimumSize().width());
    const int height = std::max(designedMinimumSize_.height(), layout->totalHeightForWidth(width));
    setMinimumSize(width, height);
}

void AppDelegate::widenForAWholeArchiveName()
{
    // A name as long as any the report gives its archive: with a larger
    // font the window opens wider, and elides the name only when narrowed.
    ui_->placedFileName->setFullText(QStringLiteral("Telvarin_12_31_2011__12_59_PM.zip"));
    const QMargins margins = ui_->centralwidget->layout()->contentsMargins();
    const int wanted = ui_->placedReportLayout->sizeHint().width() + margins.left() + margins.right();
    ui_->placedFileName->setFullText({});
    if (width() < wanted)
        resize(wanted, height());
}

void AppDelegate::showStatus(const QString& text)
{
    ui_->statusLine->setFullText(text);
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
        showStatus(tr("Copying %1").arg(onOneLine(file)));
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

void AppDelegate::showPlacedReport(const PressResult& result)
{
    if (!result.reportPlaced)
        return;
    const QFileInfo archive(localPath(result.archivePath));
    placedReportPath_ = archive.absoluteFilePath();
    ElidingLabel* name = ui_->placedFileName;
    name->setFullText(archive.fileName());
    name->setAccessibleName(archive.fileName());
    name->setAccessibleDescription(placedReportPath_);
    // A tip is shown as markup when it looks like markup; a folder's name
    // is shown as it stands.
    name->setToolTip(QStringLiteral("<p style='white-space:pre'>%1</p>").arg(placedReportPath_.toHtmlEscaped()));
    ui_->placedReport->show();
}

void AppDelegate::hidePlacedReport()
{
    ui_->placedReport->hide();
    ui_->placedFileName->setFullText({});
    ui_->placedFileName->setAccessibleName({});
    ui_->placedFileName->setAccessibleDescription({});
    ui_->placedFileName->setToolTip({});
    placedReportPath_.clear();
}

void AppDelegate::openPlacedReportFolder()
{
    if (placedReportPath_.isEmpty())
        return;
    hideOpenFolderFailure();
    const QString archive = placedReportPath_;
    QPointer<AppDelegate> window(this);
    session_->showFileInFolder(archive, [window, archive](bool shown) {
        // The answer may come after the window, or the report, is gone.
        if (!shown && window && window->placedReportPath_ == archive)
            window->showOpenFolderFailure(QFileInfo(archive).absolutePath());
    });
}

void AppDelegate::showOpenFolderFailure(const QString& folder)
{
    //: Under the report's file name, when neither the file manager nor the
    //: desktop's own opener could show the report's folder. %1 is the folder.
    ui_->openFolderFailure->setText(tr("No file manager could open the folder. The report is in %1").arg(folder));
    ui_->openFolderFailure->show();
    fitMinimumSizeToContent();
}

void AppDelegate::hideOpenFolderFailure()
{
    ui_->openFolderFailure->hide();
    ui_->openFolderFailure->clear();
    fitMinimumSizeToContent();
}

bool AppDelegate::userIsAtTheWindow() const
{
    // The window itself, or one of its message boxes, has the keyboard.
    for (const QWidget* active = QApplication::activeWindow(); active; active = active->parentWidget())
        if (active == this)
            return true;
    return false;
}

void AppDelegate::notifyIfAway(const QString& message, bool failed)
{
    if (userIsAtTheWindow())
        return;
    //: Title of the desktop notification when a report was placed while the
    //: window was in the background; the text under it says where.
    const QString placed = tr("Report placed");
    //: Title of the desktop notification when a report ended in a failure while
    //: the window was in the background; the text under it is the failure's message.
    const QString notPlaced = tr("The report failed");
    const QString summary = failed ? notPlaced : placed;
    session_->notify(summary, message);
}

void AppDelegate::clickButton()
{
    // The report runs on a worker so that the indicator keeps painting; the
    // window takes no further press until it is done.
    if (running_)
        return;
    hidePlacedReport();
    hideOpenFolderFailure();
    cancellation_.clear();
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
        WindowReporter reporter(this, indicator, [this](const QString& message, bool failed) {
            showStatus({});
            notifyIfAway(message, failed);
        });
        platform::Services services = platform::currentServices();
        services.reporter = &reporter;
        platform::ScopedServices windowReporter(std::move(services));

        gui::runBesideEventLoop(
            [&] { result = pressOnWorker(requestForPress_, indicator, cancellation_, reporter); });
    }
    //: Under the progress bar once a report was cancelled; nothing was left behind.
    showStatus(result.cancelled ? tr("The report was cancelled.") : QString());
    showPlacedReport(result);
    // Disabling the button during the run took the focus from it.
    ui_->button->setFocus();
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

bool AppDelegate::userWantsToCancel()
{
    QMessageBox question(QMessageBox::Question, windowTitle(),
                         //: Asked when the window is closed while a report is being made.
                         tr("A report is being made. Cancel it and close the window?"),
                         QMessageBox::Yes | QMessageBox::No, this);
    question.setTextFormat(Qt::PlainText);
    // Only an explicit yes stops the run.
    question.setDefaultButton(QMessageBox::No);
    question.setEscapeButton(QMessageBox::No);
    question.exec();
    return question.clickedButton() == question.button(QMessageBox::Yes);
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
        if (cancellation_.isRequested() || userWantsToCancel()) {
            closeRequested_ = true;
            cancelReport();
        }
        return;
    }
    QMainWindow::closeEvent(event);
}
