#include "app/ApplicationIdentity.h"

#include <QApplication>
#include <QIcon>

const char* const PROGRAM_NAME = "telvarin-generator";
const char* const APPLICATION_ID = "com.quorvel.TelvarinGenerator";

void applyApplicationIdentity()
{
    // The X11 class is the application name, taken when the first window is
    // made; docks match it to the entry's StartupWMClass.
    QApplication::setApplicationName(QString::fromLatin1(PROGRAM_NAME));
    QApplication::setApplicationDisplayName(QStringLiteral("Telvarin Generator"));
    QApplication::setApplicationVersion(QStringLiteral(TELVARIN_VERSION));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(APPLICATION_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QString::fromLatin1(APPLICATION_ID)));
}
