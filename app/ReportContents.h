#pragma once
// What a report holds, for a customer asked to send it outside the company:
// a "Show contents" disclosure and, once opened, the archive's entries with
// their sizes, one row each, as a screen reader reads a table. The entries
// are the run's own account of what it wrote, never the archive read back.

#include "core/report/ReportPress.h"

#include <QObject>

#include <vector>

class QTableView;
class QToolButton;
class QWidget;
class ReportContentsModel;

// The disclosure and the list are widgets of `parent`, which lays them out.
class ReportContents : public QObject {
    Q_OBJECT

public:
    explicit ReportContents(QWidget* parent);
    ~ReportContents() override;

    // The entries of the file on offer, the list closed.
    void setEntries(const std::vector<WrittenEntry>& entries);
    // Nothing on offer: hidden.
    void clear();

    QToolButton* disclosure() const { return disclosure_; }
    QTableView* list() const { return list_; }

private:
    void open(bool opened);

    QToolButton* disclosure_;
    QTableView* list_;
    ReportContentsModel* model_;
};
