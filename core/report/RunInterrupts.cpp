#include "core/report/RunInterrupts.h"

#include "core/archive/ArchiveFile.h"
#include "core/archive/SignalCleanup.h"

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
