#include "app/RunStatusLine.h"

#include "app/DisplayText.h"
#include "app/ElidingLabel.h"

#include <QProgressBar>

void RunStatusLine::show(const QString& text, bool wrapped)
{
    // During a run one line, shortened in the middle; an ending may wrap.
    line_.setFullText(text, wrapped ? ElidingLabel::Fit::wrapped : ElidingLabel::Fit::oneLine);
    bar_.setAccessibleDescription(text);
}

void RunStatusLine::clear()
{
    show({});
}

void RunStatusLine::makingTheReport()
{
    //: Under the progress bar while a report is being made.
    show(tr("Making the report…"));
}

void RunStatusLine::step(RunStep step, const QString& file)
{
    switch (step) {
    case RunStep::copyingFiles:
        //: Under the progress bar while a file is copied into the report. %1 is the file's path.
        show(tr("Copying “%1”…").arg(displayText::inSentence(file)));
        break;
    case RunStep::readingPrinter:
        //: Under the progress bar while the printer's report is read over USB.
        show(tr("Reading the printer's report…"));
        break;
    case RunStep::describingComputer:
        //: Under the progress bar while the facts about the computer are gathered.
        show(tr("Gathering facts about this computer…"));
        break;
    case RunStep::finishing:
        //: Under the progress bar while the report's file is written to its end and named.
        show(tr("Finishing the report…"));
        break;
    }
}

void RunStatusLine::cancelling()
{
    //: Under the progress bar once Cancel was pressed, until the report has stopped.
    show(tr("Cancelling the report…"));
}

void RunStatusLine::cancelled()
{
    //: Under the progress bar once a report was cancelled; nothing was left behind.
    show(tr("The report was cancelled."), true);
}

void RunStatusLine::placed()
{
    //: Under the full progress bar once a report was placed; its file name shows under this line.
    show(tr("The report was placed on the desktop."), true);
}

void RunStatusLine::failed(const QString& sentence, bool keptAPartialReport)
{
    if (keptAPartialReport)
        //: Where the progress bar was, after a failure that left a valid zip file of what it had gathered,
        //: whose name shows under this line. %1 is the failure's message (the sentence of its box).
        show(tr("The report failed: %1. A partial report was saved.").arg(sentence), true);
    else
        //: Where the progress bar was, after a failure. %1 is the failure's message (the sentence of its box).
        show(tr("The report failed: %1.").arg(sentence), true);
}
