#pragma once
// The file the last press left, as a row of the window: a caption that says
// whether it is the report or the partial report a failure kept, its file
// name (selectable, its whole path as a tool tip), and the actions on it,
// Open Folder first. Under the row, a line says why an action could not be
// done, and takes the focus so that a screen reader reads it.

#include <QString>
#include <QWidget>

#include <string>

class DesktopSession;
class ElidingLabel;
class QHBoxLayout;
class QLabel;
class QPushButton;

class PlacedReportRow : public QWidget {
    Q_OBJECT

public:
    enum class Kind { report, partialReport };

    explicit PlacedReportRow(QWidget* parent = nullptr);

    // Where Open Folder shows the file; not owned.
    void setSession(DesktopSession* session) { session_ = session; }

    // Shows the row for `archive`, its absolute path as the system names it.
    void offer(const std::string& archive, Kind kind);
    // Hides the row; it keeps its room.
    void withdraw();
    bool isOffering() const { return !archive_.empty(); }
    const std::string& archive() const { return archive_; }
    Kind kind() const { return kind_; }

    // The width the row needs to show `fileName` whole, after either caption.
    int widthShowing(const QString& fileName);
    // Another action on the file, after those there.
    void addAction(QPushButton* action);

    QLabel* caption() const { return caption_; }
    ElidingLabel* fileName() const { return fileName_; }
    QPushButton* openFolderButton() const { return openFolder_; }
    ElidingLabel* actionFailure() const { return actionFailure_; }

public slots:
    // Shows the file selected in its folder, once it is sure the file is still there.
    void openFolder();

private:
    void showCaption(Kind kind);
    void showActionFailure(const QString& text);
    void hideActionFailure();

    QLabel* caption_;
    ElidingLabel* fileName_;
    QPushButton* openFolder_;
    QHBoxLayout* fileRow_;
    QHBoxLayout* actions_;
    ElidingLabel* actionFailure_;
    DesktopSession* session_ = nullptr;
    std::string archive_;
    Kind kind_ = Kind::report;
};
