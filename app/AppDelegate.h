#pragma once
// The main window (a QMainWindow) and its controller, under the name the
// rest of the tool knows it by: a few words on what a press does, one
// button that runs a report, an indicator with a status line under it that
// show the run going on and a button that cancels it, and after a report
// was placed its file name and a way to its folder.

#include "base/RunProgress.h"
#include "core/report/ReportPress.h"

#include <QMainWindow>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

class DesktopSession;
class ElidingLabel;
class QLabel;
class QProgressBar;
class QPushButton;
namespace Ui {
class MainWindow;
}

class AppDelegate : public QMainWindow {
    Q_OBJECT

public:
    // What a press hands the report: by default the data.xml shipped with
    // the tool and the dated archive on the desktop.
    using RequestSource = std::function<ReportRequest()>;
    static ReportRequest shippedReportRequest();

    // `session` is the desktop around the window (not owned); without one
    // the window talks to the user's session bus.
    explicit AppDelegate(RequestSource requestForPress = shippedReportRequest, DesktopSession* session = nullptr,
                         QWidget* parent = nullptr);
    ~AppDelegate() override;

    QProgressBar* indicator() const;
    // Under the indicator, what the run is doing; empty at rest, or that the
    // last run was cancelled.
    ElidingLabel* statusLine() const;
    QPushButton* button() const;
    // Beside the indicator while a run goes on.
    QPushButton* cancelButton() const;
    QLabel* explanation() const;
    // The file name of the report the last press placed, and the button that
    // shows it in its folder; hidden until a press places one, and from the
    // next press on.
    ElidingLabel* placedFileName() const;
    QPushButton* openFolderButton() const;
    // Says that nothing could show the folder; hidden otherwise.
    QLabel* openFolderFailure() const;
    bool isRunningReport() const { return running_; }

public slots:
    // The button's action: one complete report, ended by one message box,
    // or cancelled without one.
    void clickButton();
    // Asks the run going on to stop at its next step; it leaves no file.
    void cancelReport();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showStatus(const QString& text);
    void showStep(RunStep step, const QString& file);
    bool userWantsToCancel();
    void showPlacedReport(const PressResult& result);
    void hidePlacedReport();
    void openPlacedReportFolder();
    void showOpenFolderFailure(const QString& folder);
    void hideOpenFolderFailure();
    void notifyIfAway(const QString& message, bool failed);
    bool userIsAtTheWindow() const;
    void fitMinimumSizeToContent();
    void widenForAWholeArchiveName();

    std::unique_ptr<Ui::MainWindow> ui_;
    RequestSource requestForPress_;
    std::unique_ptr<DesktopSession> ownSession_;
    DesktopSession* session_;
    QString placedReportPath_;
    QSize designedMinimumSize_;
    bool running_ = false;
    bool closeRequested_ = false;
    // Read by the report's thread.
    CancellationFlag cancellation_;
};
