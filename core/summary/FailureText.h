#pragma once
// What a failure concerns, in plain English for telvarin-report: the file or
// folder, the system's reason and what the user can do about it. Printed
// under the failure's sentence and given as the detail of --json's error.

#include "base/CodedFailure.h"

#include <string>

// One or two sentences; empty for a failure that says nothing more.
std::string failureDetailText(const FailureDetail& detail);
