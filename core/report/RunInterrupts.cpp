#include "RunInterrupts.h"

#include "ArchiveFile.h"
#include "SignalCleanup.h"

void installInterruptCleanup()
{
    ArchiveFile::installInterruptCleanup();
}

InterruptsCancelTheRun::InterruptsCancelTheRun(CancellationFlag& flag)
{
    cancelRunOnInterrupt(&flag);
}

InterruptsCancelTheRun::~InterruptsCancelTheRun()
{
    cancelRunOnInterrupt(nullptr);
}
