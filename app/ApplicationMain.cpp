#include "app/ApplicationMain.h"

#include "app/AppDelegate.h"
#include "app/Telvarin_GeneratorAppDelegate.h"
#include "app/Translations.h"

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
