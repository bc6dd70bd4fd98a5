// The application as main() runs it: one window, and quitting when it closes.
#include "AppDelegate.h"
#include "ApplicationMain.h"
#include "WindowHarness.h"

#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

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

TEST(Application, ACloseAskedForDuringARunQuitsWhenTheRunEnds)
{
    testing_support::FakeMachine machine;
    app_testing::ReportPlace place;
    auto installed = machine.install(place.servicesFor(machine));
    app_testing::Gate gate;
    app_testing::HookedEnvironment held(place.home, [&gate] { gate.holdHere(); });
    auto heldHome = app_testing::replaceServices([&](platform::Services& services) { services.environment = &held; });

    std::unique_ptr<app_testing::MessageBoxAnswerer> answerer;
    bool closeAsked = false;
    bool closedAtOnce = true;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        AppDelegate* window = shownWindow();
        if (!window)
            return;
        if (!answerer) {
            answerer = std::make_unique<app_testing::MessageBoxAnswerer>(*window);
            QTimer::singleShot(0, window->button(), &QPushButton::click);
        } else if (!closeAsked && gate.isHolding()) {
            closeAsked = true;
            closedAtOnce = window->close();
            gate.open();
        }
    });
    driver.start(5);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QApplication::exit(1); });
    watchdog.start(10000);

    int status = runTelvarinGenerator(*qApp);
    answerer.reset();

    EXPECT_EQ(status, 0);
    EXPECT_TRUE(closeAsked);
    EXPECT_FALSE(closedAtOnce);
    EXPECT_EQ(place.desktopFiles().size(), 1u) << "the run went to its end";
}
