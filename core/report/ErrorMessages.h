#pragma once
#include "base/UserMessage.h"

#include <optional>
#include <string>

// The sentence the user sees for a code that ended a run.
std::string messageForErrorCode(int code);

// A failure as the user learns of it, the one shape in which a press, a
// listing and a run's summary hand it on: its code, its sentence, and what
// it concerns where the failing step said.
UserMessage failureMessage(int code, std::optional<FailureDetail> detail = std::nullopt);

// The failure being handled, as the user learns of it (code 0 for a failure
// that is none of the report's own codes). Call it only inside a catch block.
UserMessage currentFailure();

// The message that ends a run that placed its report.
UserMessage reportPlacedMessage();

extern const char* const REPORT_PLACED_MESSAGE;
extern const char* const REPORT_CANCELLED_MESSAGE;
extern const char* const UNEXPECTED_FAILURE_MESSAGE;
