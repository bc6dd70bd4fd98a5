#pragma once
#include "Services.h"

#include <string>

// The sentence the user sees for a code that ended a run.
std::string messageForErrorCode(int code);

// The failure being handled, as the user learns of it: its code (0 for a
// failure that is none of the report's own codes), its sentence, and what
// it concerns where the failure said. Call it only inside a catch block.
platform::Message currentFailure();

// The message that ends a run that placed its report.
platform::Message reportPlacedMessage();

extern const char* const REPORT_PLACED_MESSAGE;
extern const char* const REPORT_CANCELLED_MESSAGE;
extern const char* const UNEXPECTED_FAILURE_MESSAGE;
