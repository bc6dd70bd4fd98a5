#include "AppDelegate.h"

#include "GuiThread.h"
#include "WindowServices.h"
#include "ErrorMessages.h"
#include "ResourceLocator.h"
#include "Services.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QUrl>

#include <algorithm>
#include <utility>

namespace {

// The icon the menu entry installs into the icon theme.
const char* const APPLICATION_ICON_NAME = "com.quorvel.TelvarinGenerator";

// The worker's whole job. Nothing may leave it: an exception escaping a
// thread ends the program without a word to the user.
PressResult pressOnWorker(const AppDelegate::RequestSource& requestForPress, BusyIndicator& indicator,
                          platform::Reporter& reporter)
{
    try {
        return runReportPress(indicator, requestForPress());
    } catch (...) {
        // runReportPress reports its own failures; this is what got past it.
        try {
            indicator.stopAnimation();
            reporter.showError(UNEXPECTED_FAILURE_MESSAGE);
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

void AppDelegate::openInFileManager(const QString& folder)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

AppDelegate::AppDelegate(RequestSource requestForPress, FolderOpener openFolder, QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::MainWindow>()),
      requestForPress_(std::move(requestForPress)),
      openFolder_(std::move(openFolder))
{
    ui_->setupUi(this);
    setWindowIcon(QIcon::fromTheme(QString::fromLatin1(APPLICATION_ICON_NAME)));
    ProgressBarIndicator::showAtRest(ui_->indicator);
    // The row keeps its room while hidden, so that the window does not jump
    // when a report was placed.
    QSizePolicy rowPolicy = ui_->placedReport->sizePolicy();
    rowPolicy.setRetainSizeWhenHidden(true);
    ui_->placedReport->setSizePolicy(rowPolicy);
    hidePlacedReport();
    // Room for the whole text at the narrowest width, whatever the font.
    const int needed = ui_->centralwidget->layout()->totalHeightForWidth(minimumWidth());
    setMinimumHeight(std::max(minimumHeight(), needed));
    connect(ui_->button, &QPushButton::clicked, this, &AppDelegate::clickButton);
    connect(ui_->openFolderButton, &QPushButton::clicked, this, &AppDelegate::openPlacedReportFolder);
    ui_->button->setFocus();
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

QLabel* AppDelegate::explanation() const
{
    return ui_->explanation;
}

QLabel* AppDelegate::placedFileName() const
{
    return ui_->placedFileName;
}

QPushButton* AppDelegate::openFolderButton() const
{
    return ui_->openFolderButton;
}

void AppDelegate::keyPressEvent(QKeyEvent* event)
{
    // Outside a dialog a default button takes Enter only while it has the
    // focus; keys that no widget took come here, and the window's one action
    // answers them.
    const int key = event->key();
    const bool pressKey = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    if (pressKey && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        ui_->button->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void AppDelegate::showPlacedReport(const PressResult& result)
{
    if (!result.reportPlaced)
        return;
    const QFileInfo archive(localPath(result.archivePath));
    placedReportFolder_ = archive.absolutePath();
    ui_->placedFileName->setText(tr("Report file: %1").arg(archive.fileName()));
    ui_->placedFileName->setToolTip(archive.absoluteFilePath());
    ui_->placedReport->show();
}

void AppDelegate::hidePlacedReport()
{
    ui_->placedReport->hide();
    ui_->placedFileName->clear();
    ui_->placedFileName->setToolTip({});
    placedReportFolder_.clear();
}

void AppDelegate::openPlacedReportFolder()
{
    if (!placedReportFolder_.isEmpty())
        openFolder_(placedReportFolder_);
}

void AppDelegate::clickButton()
{
    // The report runs on a worker so that the indicator keeps painting; the
    // window takes no further press until it is done.
    if (running_)
        return;
    hidePlacedReport();
    PressResult result;
    {
        PressInProgress busy(running_, ui_->button);

        ProgressBarIndicator indicator(ui_->indicator);
        WindowReporter reporter(this);
        platform::Services services = platform::currentServices();
        services.reporter = &reporter;
        platform::ScopedServices windowReporter(std::move(services));

        gui::runBesideEventLoop([&] { result = pressOnWorker(requestForPress_, indicator, reporter); });
    }
    showPlacedReport(result);
    // Disabling the button during the run took the focus from it.
    ui_->button->setFocus();
    if (std::exchange(closeRequested_, false))
        close();
}

void AppDelegate::closeEvent(QCloseEvent* event)
{
    // Closing quits the application; not while the worker still needs the
    // window for its message boxes. The close is done when the run ends.
    if (running_) {
        closeRequested_ = true;
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}
