#pragma once
// The window and its controller: a few words on what a press does, one
// button that runs a report, one busy indicator that shows the run going on,
// and after a report was placed its file name and a way to its folder.

#include "ReportPress.h"

#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>

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
    // Shows a folder to the user: by default in the desktop's file manager.
    using FolderOpener = std::function<void(const QString& folder)>;
    static void openInFileManager(const QString& folder);

    explicit AppDelegate(RequestSource requestForPress = shippedReportRequest,
                         FolderOpener openFolder = openInFileManager, QWidget* parent = nullptr);
    ~AppDelegate() override;

    QProgressBar* indicator() const;
    QPushButton* button() const;
    QLabel* explanation() const;
    // The file name of the report the last press placed, and the button that
    // opens its folder; hidden until a press places one, and from the next
    // press on.
    QLabel* placedFileName() const;
    QPushButton* openFolderButton() const;
    bool isRunningReport() const { return running_; }

public slots:
    // The button's action: one complete report, ended by one message box.
    void clickButton();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showPlacedReport(const PressResult& result);
    void hidePlacedReport();
    void openPlacedReportFolder();

    std::unique_ptr<Ui::MainWindow> ui_;
    RequestSource requestForPress_;
    FolderOpener openFolder_;
    QString placedReportFolder_;
    bool running_ = false;
    bool closeRequested_ = false;
};
