// telvarin-generator: the Telvarin Generator's window.
#include "ApplicationIdentity.h"
#include "ApplicationMain.h"
#include "ArchiveFile.h"
#include "CommandLine.h"

#include <QApplication>

int main(int argc, char** argv)
{
    ArchiveFile::installInterruptCleanup();
    // Answered before the application exists: they need no display.
    if (const std::optional<int> status = answerInformationOptions(argc, argv))
        return *status;
    QApplication application(argc, argv);
    applyApplicationIdentity();
    return runTelvarinGenerator(application);
}
