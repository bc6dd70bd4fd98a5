#pragma once
#include <string>

// The sentence the user sees for a code that ended a run.
std::string messageForErrorCode(int code);

extern const char* const REPORT_PLACED_MESSAGE;
extern const char* const UNEXPECTED_FAILURE_MESSAGE;
