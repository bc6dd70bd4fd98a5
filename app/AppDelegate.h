#pragma once
// The window and its controller: one button that runs a report, one busy
// indicator that shows the run going on.

#include "ReportPress.h"

#include <QMainWindow>

#include <functional>
#include <memory>

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

    explicit AppDelegate(RequestSource requestForPress = shippedReportRequest, QWidget* parent = nullptr);
    ~AppDelegate() override;

    QProgressBar* indicator() const;
    QPushButton* button() const;
    bool isRunningReport() const { return running_; }

public slots:
    // The button's action: one complete report, ended by one message box.
    void clickButton();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::MainWindow> ui_;
    RequestSource requestForPress_;
    bool running_ = false;
};
