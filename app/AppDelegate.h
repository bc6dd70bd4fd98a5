#pragma once
// The main window (a QMainWindow) and its controller, under the name the
// rest of the tool knows it by: a few words on what a press does, one
// button that runs a report, an indicator with a status line under it that
// show the run going on and a button that cancels it, and after the run a
// line saying how it ended and the file it left with a way to its folder.

#include "app/ReturnKeyButtons.h"
#include "app/RunNotifier.h"
#include "app/RunStatusLine.h"
#include "app/SupportContact.h"
#include "base/RunProgress.h"
#include "core/report/ReportPress.h"

#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>

class DesktopSession;
class ElidingLabel;
class PlacedReportRow;
class QLabel;
class QProgressBar;
class QPushButton;
class WindowSizing;
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

    // Where a press finds the support address; by default the support.conf
    // installed with the tool.
    using SupportContactSource = std::function<SupportContactLookup()>;
    void setSupportContactSource(SupportContactSource source) { supportContactSource_ = std::move(source); }

    QProgressBar* indicator() const;
    // Under the indicator, what the run is doing; after it, how it ended
    // (the placed report, what failed, a cancel) until the next press.
    ElidingLabel* statusLine() const;
    QPushButton* button() const;
    // Beside the indicator while a run goes on.
    QPushButton* cancelButton() const;
    QLabel* explanation() const;
    // The file the last press left (the report, or the partial report of a
    // failure) with its actions; hidden from the next press on.
    PlacedReportRow* placedReport() const;
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
    // The constructor's steps.
    void keepTheBarsRoom();
    void fitTheWindowToItsContent();
    void connectTheButtons();

    // A press's steps.
    void startOver();
    PressResult runTheReport(const std::string& supportFault);
    void showOutcome(const UserMessage& message, const QString& text);
    void endThePress(const PressResult& result);

    std::unique_ptr<Ui::MainWindow> ui_;
    RequestSource requestForPress_;
    SupportContactSource supportContactSource_ = installedSupportContact;
    std::unique_ptr<DesktopSession> ownSession_;
    DesktopSession* session_;
    RunNotifier notifier_;
    RunStatusLine status_;
    ReturnKeyButtons returnKey_;
    std::unique_ptr<WindowSizing> sizing_;
    bool running_ = false;
    bool closeRequested_ = false;
    // Read by the report's thread.
    CancellationFlag cancellation_;
};
