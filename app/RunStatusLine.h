#pragma once
// The line under the progress bar, in the user's language: what the run is
// doing (the step, the file being copied), then how it ended until the next
// press. The bar's description says the same, since the bar is what a
// screen reader follows during a run.

#include "base/RunProgress.h"

#include <QCoreApplication>
#include <QString>

class ElidingLabel;
class QProgressBar;

class RunStatusLine {
    Q_DECLARE_TR_FUNCTIONS(RunStatusLine)

public:
    // Neither is owned.
    RunStatusLine(ElidingLabel& line, QProgressBar& bar) : line_(line), bar_(bar) {}

    void clear();
    void makingTheReport();
    // `file` as the system names it; empty in the steps after the copying.
    void step(RunStep step, const QString& file);
    void cancelling();
    void cancelled();
    void placed();
    // `sentence` is the failure's message as its box showed it.
    void failed(const QString& sentence, bool keptAPartialReport);

private:
    void show(const QString& text, bool wrapped = false);

    ElidingLabel& line_;
    QProgressBar& bar_;
};
