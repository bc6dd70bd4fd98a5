#include "app/ApplicationMain.h"

#include "app/AppDelegate.h"
#include "app/Telvarin_GeneratorAppDelegate.h"

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
