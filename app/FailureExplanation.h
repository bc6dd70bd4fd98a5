#pragma once
// What a failure concerns, in the user's language, for the line under the
// failure's sentence in its message box: the file or folder, the system's
// reason, and what the user can do about it.

#include "base/CodedFailure.h"

#include <QCoreApplication>
#include <QString>

class FailureExplanation {
    Q_DECLARE_TR_FUNCTIONS(FailureExplanation)

public:
    // Plain text; empty for a failure that says nothing more.
    static QString text(const FailureDetail& detail);
    // Where what the run gathered before it failed is: `shownName` is the
    // partial report's name or path as displayText shows it in a sentence.
    static QString partialReport(const QString& shownName);
};
