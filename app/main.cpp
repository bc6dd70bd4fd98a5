// telvarin-generator: the Telvarin Generator's window.
#include "ApplicationMain.h"
#include "ArchiveFile.h"
#include "StandardDescriptors.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    // Before anything opens a file: a closed standard descriptor would be
    // taken by the archive, and the progress written into it.
    if (!platform::openClosedStandardDescriptors())
        return 1;
    ArchiveFile::installInterruptCleanup();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("telvarin-generator"));
    QApplication::setApplicationDisplayName(QStringLiteral("Telvarin Generator"));
    QApplication::setApplicationVersion(QStringLiteral(TELVARIN_VERSION));
    // The menu entry's name, so that docks and Wayland match the window to it.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.quorvel.TelvarinGenerator"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("com.quorvel.TelvarinGenerator")));
    return runTelvarinGenerator(application);
}
