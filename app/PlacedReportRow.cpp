#include "app/PlacedReportRow.h"

#include "app/DesktopSession.h"
#include "app/DisplayText.h"
#include "app/ElidingLabel.h"
#include "app/ReportContents.h"
#include "app/SupportMailing.h"
#include "base/AbsolutePath.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

#include <sys/stat.h>

#include <algorithm>

namespace {

// The run made a regular file there; anything else is not the report.
bool isStillThere(const std::string& path)
{
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

PlacedReportRow::PlacedReportRow(QWidget* parent)
    : QWidget(parent),
      caption_(new QLabel(this)),
      fileName_(new ElidingLabel(this)),
      openFolder_(new QPushButton(this)),
      fileRow_(new QHBoxLayout),
      toolsRow_(new QHBoxLayout),
      actionNote_(new ElidingLabel(this)),
      contents_(new ReportContents(this)),
      mailing_(new SupportMailing(
          this, [this](const QString& text) { text.isEmpty() ? hideActionNote() : showActionNote(text); },
          [this] { sayItWasMovedOrDeleted(); }))
{
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins({});
    rows->addLayout(fileRow_);
    rows->addLayout(toolsRow_);
    rows->addWidget(contents_->list());
    rows->addWidget(actionNote_);
    fileRow_->addWidget(caption_);
    fileRow_->addWidget(fileName_, 1);
    fileRow_->addWidget(openFolder_);
    toolsRow_->addWidget(contents_->disclosure());
    toolsRow_->addStretch(1);
    toolsRow_->addWidget(mailing_->button());

    caption_->setTextFormat(Qt::PlainText);
    caption_->setBuddy(fileName_);
    fileName_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    fileName_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // A selectable label takes only clicks by default; a keyboard user
    // reaches the name with Tab to copy it.
    fileName_->setFocusPolicy(Qt::StrongFocus);
    //: After a report was placed: shows the report in the file manager. The ampersand marks the Alt key's letter.
    openFolder_->setText(tr("&Open Folder"));
    openFolder_->setAutoDefault(true);
    // Selectable: it may name an address and a path to copy.
    actionNote_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    actionNote_->setFocusPolicy(Qt::StrongFocus);
    actionNote_->setFullText({}, ElidingLabel::Fit::wrapped);
    actionNote_->hide();
    connect(openFolder_, &QPushButton::clicked, this, &PlacedReportRow::openFolder);
    showCaption(Kind::report);

    // The row keeps its room while hidden, so that the window does not
    // jump when a press leaves a file.
    QSizePolicy policy = sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    setSizePolicy(policy);
    withdraw();
}

void PlacedReportRow::setSession(DesktopSession* session)
{
    session_ = session;
    mailing_->setSession(session);
}

void PlacedReportRow::setSupportContact(std::optional<SupportContact> contact)
{
    mailing_->setContact(std::move(contact));
}

QPushButton* PlacedReportRow::emailButton() const
{
    return mailing_->button();
}

void PlacedReportRow::offer(const std::string& archive, Kind kind, const std::string& failureSentence)
{
    archive_ = archive;
    kind_ = kind;
    hideActionNote();
    mailing_->offer({archive, kind == Kind::partialReport, failureSentence});
    showCaption(kind);
    const QString name = displayText::line(fileNameOf(archive));
    const QString path = displayText::line(archive);
    fileName_->setFullText(name);
    fileName_->setAccessibleName(name);
    fileName_->setAccessibleDescription(path);
    fileName_->setToolTip(displayText::asRichText(path));
    show();
}

void PlacedReportRow::showCaption(Kind kind)
{
    if (kind == Kind::report)
        //: Before the report's file name, beside the Open Folder button.
        caption_->setText(tr("Report file:"));
    else
        //: Before the file name of what a failed run had gathered until it failed
        //: (a valid zip file), beside the Open Folder button.
        caption_->setText(tr("Partial report:"));
}

void PlacedReportRow::listContents(const std::vector<WrittenEntry>& entries)
{
    contents_->setEntries(entries);
}

void PlacedReportRow::withdraw()
{
    hide();
    hideActionNote();
    contents_->clear();
    mailing_->withdraw();
    archive_.clear();
    fileName_->setFullText({});
    fileName_->setAccessibleName({});
    fileName_->setAccessibleDescription({});
    fileName_->setToolTip({});
}

int PlacedReportRow::widthShowing(const QString& fileName)
{
    const QString shown = fileName_->fullText();
    fileName_->setFullText(fileName);
    // The tools as they show once a file is on offer.
    const bool disclosureShown = contents_->disclosure()->isVisibleTo(this);
    const bool emailShown = mailing_->button()->isVisibleTo(this);
    contents_->disclosure()->show();
    mailing_->button()->show();
    toolsRow_->invalidate();
    int width = toolsRow_->sizeHint().width();
    contents_->disclosure()->setVisible(disclosureShown);
    mailing_->button()->setVisible(emailShown);
    for (Kind kind : {Kind::report, Kind::partialReport}) {
        showCaption(kind);
        // The nested row keeps its hint until the row is laid out again.
        fileRow_->invalidate();
        width = std::max(width, fileRow_->sizeHint().width());
    }
    showCaption(kind_);
    fileName_->setFullText(shown);
    return width;
}

void PlacedReportRow::openFolder()
{
    if (archive_.empty() || !session_)
        return;
    hideActionNote();
    if (!isStillThere(archive_)) {
        sayItWasMovedOrDeleted();
        return;
    }
    const std::string archive = archive_;
    QPointer<PlacedReportRow> row(this);
    session_->showFileInFolder(archive, [row, archive](bool shown) {
        // The answer may come after the window, or the file, is gone.
        if (shown || !row || row->archive_ != archive)
            return;
        //: Under the report's file name, when neither the file manager nor the
        //: desktop's own opener could show the report's folder. %1 is the folder.
        row->showActionNote(tr("No file manager could open the folder. The report is in “%1”.")
                                .arg(displayText::inSentence(folderOf(archive))));
    });
}

void PlacedReportRow::sayItWasMovedOrDeleted()
{
    //: Under the report's file name, when Open Folder or Email to Support finds the
    //: report (%1, its file name) gone.
    showActionNote(tr("The file “%1” was moved or deleted.").arg(displayText::inSentence(fileNameOf(archive_))));
}

void PlacedReportRow::showActionNote(const QString& text)
{
    actionNote_->setFullText(text, ElidingLabel::Fit::wrapped);
    actionNote_->show();
    // A line that appears is read out only when it takes the focus.
    actionNote_->setFocus(Qt::OtherFocusReason);
}

void PlacedReportRow::hideActionNote()
{
    actionNote_->hide();
    actionNote_->setFullText({}, ElidingLabel::Fit::wrapped);
}
