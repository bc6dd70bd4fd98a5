// The application as main() runs it: one window, and quitting when it closes.
#include "AppDelegate.h"
#include "ApplicationMain.h"

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
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QApplication::exit(1); });
    watchdog.start(10000);

    int status = runTelvarinGenerator(*qApp);

    EXPECT_EQ(status, 0);
    EXPECT_EQ(title, QStringLiteral("Telvarin Generator"));
    EXPECT_TRUE(indicatorAtRest);
    EXPECT_EQ(shownWindow(), nullptr);
}
