// The application as main() runs it: one window, and quitting when it closes.
#include "app/AppDelegate.h"
#include "app/ApplicationMain.h"
#include "app/Telvarin_GeneratorAppDelegate.h"

#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

AppDelegate* shownWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<AppDelegate*>(widget); window && window->isVisible())
            return window;
    return nullptr;
}

} // namespace

TEST(Application, ShowsOneWindowAndQuitsWhenItIsClosed)
{
    QString title;
    bool indicatorAtRest = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        AppDelegate* window = shownWindow();
        if (!window)
            return;
        closer.stop();
        title = window->windowTitle();
        indicatorAtRest = window->indicator()->maximum() > 0;
        window->close();
    });
    closer.start(5);
    // Only ends the test when the application failed to quit.
    QTimer::singleShot(10000, [] { QApplication::exit(1); });

    int status = runTelvarinGenerator(*qApp);

    EXPECT_EQ(status, 0);
    EXPECT_EQ(title, QStringLiteral("Telvarin Generator"));
    EXPECT_TRUE(indicatorAtRest);
    EXPECT_EQ(shownWindow(), nullptr);
}

TEST(Application, DelegateAsksToQuitAfterTheLastWindowCloses)
{
    Telvarin_GeneratorAppDelegate delegate;
    EXPECT_TRUE(delegate.applicationShouldTerminateAfterLastWindowClosed());
    qApp->setQuitOnLastWindowClosed(false);
    delegate.attachTo(*qApp);
    EXPECT_TRUE(QApplication::quitOnLastWindowClosed());
    {
        AppDelegate window;
        delegate.setWindow(&window);
        EXPECT_EQ(delegate.window(), &window);
    }
    EXPECT_EQ(delegate.window(), nullptr) << "the delegate does not keep a closed window alive or dangling";
}
