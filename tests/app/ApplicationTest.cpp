// The application as main() runs it: one window, and quitting when it closes.
#include "AppDelegate.h"
#include "ApplicationIdentity.h"
#include "ApplicationMain.h"
#include "WindowHarness.h"

#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

AppDelegate* shownWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<AppDelegate*>(widget); window && window->isVisible())
            return window;
    return nullptr;
}

// The keys of the [Desktop Entry] group of a desktop file.
std::map<std::string, std::string> desktopEntryKeys(const std::string& path)
{
    std::map<std::string, std::string> keys;
    std::ifstream entry(path);
    std::string line;
    while (std::getline(entry, line)) {
        const auto equals = line.find('=');
        if (equals != std::string::npos && line[0] != '#')
            keys[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return keys;
}

} // namespace

TEST(Application, TheWindowIsMatchedToItsMenuEntry)
{
    const QString previousName = QApplication::applicationName();
    applyApplicationIdentity();
    const std::string entryId = QGuiApplication::desktopFileName().toStdString();
    const auto entry = desktopEntryKeys(std::string(TELVARIN_SOURCE_DIR) + "/resources/" + entryId + ".desktop");
    // The window's X11 class is the application name.
    const std::string windowClass = QApplication::applicationName().toStdString();
    QApplication::setApplicationName(previousName);

    ASSERT_FALSE(entry.empty()) << "no menu entry named " << entryId;
    EXPECT_EQ(entry.count("StartupWMClass") ? entry.at("StartupWMClass") : "", windowClass);
    EXPECT_EQ(entry.count("Icon") ? entry.at("Icon") : "", std::string(APPLICATION_ID));
    EXPECT_EQ(entry.count("Exec") ? entry.at("Exec") : "", std::string(PROGRAM_NAME));
}

TEST(GeneratorProgram, AnswersHelpAndVersionWithoutADisplay)
{
    testing_support::TempDir home;
    // No DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM: a window could not start.
    const std::map<std::string, std::string> environment{{"HOME", home.path()}};
    struct Case {
        const char* option;
        std::string expectedStart;
    };
    const Case cases[] = {
        {"--help", "Usage: telvarin-generator [--help | --version]\n"},
        {"--version", std::string("telvarin-generator ") + TELVARIN_VERSION + "\n"},
    };
    for (const auto& [option, expectedStart] : cases) {
        SCOPED_TRACE(option);
        const auto answer = testing_support::runProcess({TELVARIN_GENERATOR_EXECUTABLE, option}, environment);
        EXPECT_EQ(answer.exitStatus, 0);
        EXPECT_EQ(answer.standardOutput.substr(0, expectedStart.size()), expectedStart);
        EXPECT_EQ(answer.standardError, "");
    }
    // An answer that cannot be written is a failure.
    const auto full = testing_support::runProcess(
        {"/bin/sh", "-c", std::string("exec '") + TELVARIN_GENERATOR_EXECUTABLE + "' --version >/dev/full"}, environment);
    EXPECT_EQ(full.exitStatus, 1);
    EXPECT_NE(full.standardError.find("could not write"), std::string::npos) << full.standardError;
}

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
