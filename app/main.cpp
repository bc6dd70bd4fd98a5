// telvarin-generator: the Telvarin Generator's window.
#include "app/ApplicationIdentity.h"
#include "app/ApplicationMain.h"
#include "app/CommandLine.h"
#include "core/report/RunInterrupts.h"
#include "platform/posix/StandardDescriptors.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // Before anything opens a file: a closed standard descriptor would be
    // taken by the archive, and the progress written into it.
    if (!platform::openClosedStandardDescriptors())
        return 1;
    installInterruptCleanup();
    // Answered before the application exists: they need no display.
    if (const std::optional<int> status = answerInformationOptions(argc, argv))
        return *status;
    QApplication application(argc, argv);
    applyApplicationIdentity();
    return runTelvarinGenerator(application);
}
