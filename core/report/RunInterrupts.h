#pragma once
// What signals do to a run, for the front ends.

#include "base/RunProgress.h"

// Once at start: a signal that ends the process first removes the files a
// run has made but not finished; SIGXFSZ fails the write that caused it.
void installInterruptCleanup();

// While it lives, the first SIGINT or SIGTERM requests `flag` instead of
// ending the process, so that the run stops at its next checkpoint and
// cleans up after itself. The flag must outlive every signal.
class InterruptsCancelTheRun {
public:
    explicit InterruptsCancelTheRun(CancellationFlag& flag);
    ~InterruptsCancelTheRun();
    InterruptsCancelTheRun(const InterruptsCancelTheRun&) = delete;
    InterruptsCancelTheRun& operator=(const InterruptsCancelTheRun&) = delete;
};
