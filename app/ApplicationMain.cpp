#include "ApplicationMain.h"

#include "AppDelegate.h"
#include "Telvarin_GeneratorAppDelegate.h"
#include "Translations.h"

#include <QApplication>

int runTelvarinGenerator(QApplication& application)
{
    Translations translations = Translations::forDesktop();
    translations.install();
    Telvarin_GeneratorAppDelegate delegate;
    AppDelegate window;
    delegate.setWindow(&window);
    delegate.attachTo(application);
    window.show();
    return application.exec();
}
