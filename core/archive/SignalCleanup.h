#pragma once
// Files that a run has made but not finished (an archive under a hidden
// name, a checksum file under a temporary one) are removed when a signal
// ends the process. The handler may only make async-signal-safe calls and
// read lock-free atomics, so the names sit in a fixed table of slots.

#include <signal.h>

#include <string>

class CancellationFlag;

// The slot of the file `name` in the open folder `directory`, or -1 when
// the table is full (the file then merely lacks the removal on a signal).
int registerForRemovalOnSignal(int directory, const std::string& name);
// Forgets the slot (the file was named or removed); sets it to -1.
void unregisterFromRemovalOnSignal(int& slot) noexcept;

// Makes every signal whose default action ends the process (SIGKILL and
// SIGSTOP cannot be caught) remove the registered files first and then end
// the process as the default would, with a core where it makes one. Only
// signals left at their default are taken: one that is ignored (nohup) stays
// ignored, and a handler already installed (a sanitizer's) stays in place.
// SIGXFSZ is ignored instead, so that a write beyond a limit on file sizes
// fails with EFBIG and the run ends as any failed write does. For front
// ends, once at start.
void installSignalCleanup();

// While a flag is given, the first SIGINT or SIGTERM requests it instead of
// ending the process, so that the run stops at its next checkpoint and
// cleans up after itself; a signal after that ends the process as above.
// Null takes the request back. The flag must outlive every signal: give
// one of static storage.
void cancelRunOnInterrupt(CancellationFlag* flag);

// Every signal a process may be sent from outside: all but the faults a
// thread causes itself. Held back while a name is made, so that none is
// left half made.
sigset_t signalsFromOutside();
