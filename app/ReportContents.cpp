#include "app/ReportContents.h"

#include "app/DisplayText.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QLocale>
#include <QTableView>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace {

// Rows in sight before the list scrolls: enough to see what kind of files
// are there, few enough that the window stays small.
constexpr int ROWS_IN_SIGHT = 6;
constexpr int ROW_PADDING = 6;

enum Column { NAME, SIZE, COLUMN_COUNT };

} // namespace

// The entries as a table: the name as the archive stores it, shown as data,
// and the size in the user's units.
class ReportContentsModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setEntries(std::vector<WrittenEntry> entries)
    {
        beginResetModel();
        entries_ = std::move(entries);
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(entries_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : COLUMN_COUNT; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        const WrittenEntry& entry = entries_[static_cast<std::size_t>(index.row())];
        if (role == Qt::TextAlignmentRole && index.column() == SIZE)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::AccessibleTextRole)
            return {};
        if (index.column() == NAME)
            return displayText::line(entry.name);
        const QString size = QLocale().formattedDataSize(static_cast<qint64>(entry.size), 1, QLocale::DataSizeSIFormat);
        // Sizes under a kilobyte are in bytes already.
        if (role == Qt::DisplayRole || entry.size < 1000)
            return size;
        //: A report's entry size in a tool tip and for a screen reader: %1 is it in the
        //: user's units (12.3 kB), %2 in bytes.
        return ReportContents::tr("%1 (%2 bytes)").arg(size, QLocale().toString(static_cast<qulonglong>(entry.size)));
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        if (section == NAME)
            //: Column heading of the list of a report's files: each one's name in the zip file.
            return ReportContents::tr("File");
        //: Column heading of the list of a report's files: each one's size.
        return ReportContents::tr("Size");
    }

private:
    std::vector<WrittenEntry> entries_;
};

ReportContents::ReportContents(QWidget* parent)
    : QObject(parent),
      disclosure_(new QToolButton(parent)),
      list_(new QTableView(parent)),
      model_(new ReportContentsModel(this))
{
    //: Under the report's file name: opens the list of the files in the report. The
    //: ampersand marks the Alt key's letter.
    disclosure_->setText(tr("&Show contents"));
    disclosure_->setCheckable(true);
    disclosure_->setAutoRaise(true);
    disclosure_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    disclosure_->setArrowType(Qt::RightArrow);
    disclosure_->setFocusPolicy(Qt::StrongFocus);
    connect(disclosure_, &QToolButton::toggled, this, &ReportContents::open);

    list_->setModel(model_);
    //: What a screen reader calls the list of the files in the report.
    list_->setAccessibleName(tr("Files in the report"));
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setTextElideMode(Qt::ElideMiddle);
    list_->setWordWrap(false);
    list_->setShowGrid(false);
    list_->setAlternatingRowColors(true);
    list_->setTabKeyNavigation(false);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setSectionResizeMode(NAME, QHeaderView::Stretch);
    list_->horizontalHeader()->setSectionResizeMode(SIZE, QHeaderView::ResizeToContents);
    list_->hide();
    clear();
}

ReportContents::~ReportContents() = default;

void ReportContents::setEntries(const std::vector<WrittenEntry>& entries)
{
    disclosure_->setChecked(false);
    model_->setEntries(entries);
    disclosure_->show();
}

void ReportContents::clear()
{
    disclosure_->setChecked(false);
    model_->setEntries({});
    disclosure_->hide();
}

void ReportContents::open(bool opened)
{
    disclosure_->setArrowType(opened ? Qt::DownArrow : Qt::RightArrow);
    if (!opened) {
        list_->hide();
        return;
    }
    // Rows of one line, as a file manager's list has them, as high as a few
    // of them; the rest scrolls.
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + ROW_PADDING);
    const int rows = std::clamp(model_->rowCount(), 1, ROWS_IN_SIGHT);
    const int height = list_->horizontalHeader()->sizeHint().height() +
                       rows * list_->verticalHeader()->defaultSectionSize() + 2 * list_->frameWidth();
    list_->setFixedHeight(height);
    list_->show();
}
