#include "ApplicationMain.h"

#include "AppDelegate.h"
#include "Telvarin_GeneratorAppDelegate.h"

#include <QApplication>

int runTelvarinGenerator(QApplication& application)
{
    Telvarin_GeneratorAppDelegate delegate;
    AppDelegate window;
    delegate.setWindow(&window);
    delegate.attachTo(application);
    window.show();
    return application.exec();
}
