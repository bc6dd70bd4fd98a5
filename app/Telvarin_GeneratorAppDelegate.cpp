#include "app/Telvarin_GeneratorAppDelegate.h"

#include <QApplication>
#include <QTimer>

void Telvarin_GeneratorAppDelegate::applicationDidFinishLaunching() {}

bool Telvarin_GeneratorAppDelegate::applicationShouldTerminateAfterLastWindowClosed() const
{
    return true;
}

void Telvarin_GeneratorAppDelegate::attachTo(QApplication& application)
{
    application.setQuitOnLastWindowClosed(applicationShouldTerminateAfterLastWindowClosed());
    // Launching is finished once the event loop runs.
    QTimer::singleShot(0, this, &Telvarin_GeneratorAppDelegate::applicationDidFinishLaunching);
}
