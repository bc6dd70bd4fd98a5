#pragma once
// What a failure concerns and what the user can do about it, in English: the
// one table of these words. The command line prints them as they stand
// (failureDetailText), the window translates them (FailureExplanation, whose
// translation context they carry).

#include "base/CodedFailure.h"

#include <optional>

struct FailureWording {
    // What failed; "“%1”" stands for the file or folder where it names one.
    // Unless it is a whole sentence, the system's reason and the full stop
    // follow it.
    const char* what = nullptr;
    bool isWholeSentence = false;
    // What the user can do about it.
    const char* advice = nullptr;
    // The command line's advice where it differs: it may be handed a list of
    // its own (--data-xml), which reinstalling would not mend.
    const char* commandLineAdvice = nullptr;
};

// The words for what a failure concerns; nothing for a failure that says
// nothing more.
std::optional<FailureWording> failureWording(const FailureDetail& detail);
