#pragma once
// One of the report's messages to the person running it. `text` is the
// message in the report's own words, the one support knows and a command
// line prints; the rest says which message it is, so that a window can word
// it in its user's language.

#include "base/CodedFailure.h"

#include <optional>
#include <string>

struct UserMessage {
    enum class Kind {
        reportPlaced,
        noRecognizedPrinter,
        // A run ended by one of the report's codes.
        failure,
        // A run ended by anything else (memory exhaustion, a library fault).
        unexpectedFailure,
    };
    Kind kind = Kind::failure;
    int code = 0;
    // What a failure concerns, where it said: the step, the file or folder
    // and the system's reason. Not in `text`: each front end words it.
    std::optional<FailureDetail> detail{};
    // An unexpected failure's own words (a library's), which `text` quotes
    // after the sentence; empty for none.
    std::string quoted{};
    std::string text{};
    // The archive the run left, absolute, for a message that ends a run: the
    // placed report, or after a failure the valid archive of the entries
    // written before it; empty when it left none.
    std::string archivePath{};
};
