#pragma once
// The file the last press left, as a row of the window: a caption that says
// whether it is the report or the partial report a failure kept, its file
// name (selectable, its whole path as a tool tip), and the actions on it:
// Open Folder, the list of what it holds and mailing it to support. Under
// the row, a line says how an action went where the window has more to say,
// and takes the focus so that a screen reader reads it.

#include "app/SupportContact.h"
#include "core/report/ReportPress.h"

#include <QString>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

class DesktopSession;
class ElidingLabel;
class QHBoxLayout;
class QLabel;
class QPushButton;
class ReportContents;
class SupportMailing;

class PlacedReportRow : public QWidget {
    Q_OBJECT

public:
    enum class Kind { report, partialReport };

    explicit PlacedReportRow(QWidget* parent = nullptr);

    // Where Open Folder shows the file and the mail goes; not owned.
    void setSession(DesktopSession* session);
    // Where the mail goes; nothing offers no mail.
    void setSupportContact(std::optional<SupportContact> contact);

    // Shows the row for `archive`, its absolute path as the system names it;
    // a partial report with the sentence the failed run ended with.
    void offer(const std::string& archive, Kind kind, const std::string& failureSentence = {});
    // What the file on offer holds, as the run wrote it.
    void listContents(const std::vector<WrittenEntry>& entries);
    // Hides the row; it keeps its room.
    void withdraw();
    bool isOffering() const { return !archive_.empty(); }
    const std::string& archive() const { return archive_; }
    Kind kind() const { return kind_; }

    // The width the row needs to show `fileName` whole, after either caption.
    int widthShowing(const QString& fileName);

    QLabel* caption() const { return caption_; }
    ElidingLabel* fileName() const { return fileName_; }
    QPushButton* openFolderButton() const { return openFolder_; }
    QPushButton* emailButton() const;
    ReportContents* contents() const { return contents_; }
    ElidingLabel* actionNote() const { return actionNote_; }

public slots:
    // Shows the file selected in its folder, once it is sure the file is still there.
    void openFolder();

private:
    void showCaption(Kind kind);
    void showActionNote(const QString& text);
    void hideActionNote();
    void sayItWasMovedOrDeleted();

    QLabel* caption_;
    ElidingLabel* fileName_;
    QPushButton* openFolder_;
    QHBoxLayout* fileRow_;
    QHBoxLayout* toolsRow_;
    ElidingLabel* actionNote_;
    ReportContents* contents_;
    SupportMailing* mailing_;
    DesktopSession* session_ = nullptr;
    std::string archive_;
    Kind kind_ = Kind::report;
};
