// telvarin-generator: the Telvarin Generator's window.
#include "app/ApplicationMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("telvarin-generator"));
    QApplication::setApplicationDisplayName(QStringLiteral("Telvarin Generator"));
    QApplication::setApplicationVersion(QStringLiteral(TELVARIN_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("telvarin-generator"));
    return runTelvarinGenerator(application);
}
