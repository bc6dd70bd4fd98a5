// The application as main() runs it: one window, and quitting when it closes.
#include "app/AppDelegate.h"
#include "app/ApplicationIdentity.h"
#include "app/ApplicationMain.h"
#include "tests/app/WindowHarness.h"

#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
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

} // namespace

TEST(Application, ShowsOneWindowAndQuitsWhenItIsClosed)
{
    QString title;
    QString buttonText;
    bool indicatorAtRest = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        AppDelegate* window = shownWindow();
        if (!window)
            return;
        closer.stop();
        title = window->windowTitle();
        buttonText = window->button()->text();
        indicatorAtRest = window->indicator()->isHidden();
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
    // In the desktop's language (this suite's German locale) while it runs.
    EXPECT_EQ(buttonText, QStringLiteral("Bericht &erstellen"));
    EXPECT_EQ(QCoreApplication::translate("MainWindow", "&Generate Report"), QStringLiteral("&Generate Report"));
    EXPECT_TRUE(indicatorAtRest);
    EXPECT_EQ(shownWindow(), nullptr);
}

TEST(Application, ClosingDuringARunAsksAndOnYesCancelsItAndQuitsLeavingNothing)
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
            answerer->questionAnswer = QMessageBox::DestructiveRole;
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
    const std::vector<app_testing::ShownBox> boxes = answerer ? answerer->boxes : std::vector<app_testing::ShownBox>{};
    answerer.reset();

    EXPECT_EQ(status, 0);
    EXPECT_TRUE(closeAsked);
    EXPECT_FALSE(closedAtOnce) << "the run still needed the window";
    ASSERT_EQ(boxes.size(), 1u) << "the question, and no message for a cancelled run";
    EXPECT_EQ(boxes[0].icon, QMessageBox::Question);
    EXPECT_EQ(boxes[0].buttonCount, 2);
    // Asked in the desktop's language (this suite's German).
    EXPECT_EQ(boxes[0].text,
              QStringLiteral("Ein Bericht wird gerade erstellt. Möchten Sie ihn abbrechen und das Fenster schließen?"));
    // Buttons that say what they do.
    EXPECT_TRUE(boxes[0].buttonTexts.contains(QStringLiteral("&Abbrechen und schließen")) &&
                boxes[0].buttonTexts.contains(QStringLiteral("&Weiter erstellen")))
        << boxes[0].buttonTexts.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(place.desktopFiles().empty()) << "the cancelled run left nothing";
}

TEST(Application, TheWindowIsMatchedToItsMenuEntry)
{
    const QString previousName = QApplication::applicationName();
    applyApplicationIdentity();
    std::ifstream file(std::string(TELVARIN_SOURCE_DIR) + "/resources/" + APPLICATION_ID + ".desktop");
    const std::string entry((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The X11 class of every window is the application name.
    for (const std::string& line : {"StartupWMClass=" + QApplication::applicationName().toStdString(),
                                    "Icon=" + QGuiApplication::desktopFileName().toStdString()})
        EXPECT_NE(entry.find("\n" + line + "\n"), std::string::npos) << line;
    QApplication::setApplicationName(previousName);
}

TEST(GeneratorProgram, AnswersHelpAndVersionWithoutADisplay)
{
    testing_support::TempDir home;
    // No DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM: a window could not start.
    const std::map<std::string, std::string> environment{{"HOME", home.path()}};
    const std::string program = TELVARIN_GENERATOR_EXECUTABLE;
    for (const auto& [option, start] : {std::pair<std::string, std::string>{"--help", "Usage: telvarin-generator "},
                                        {"--version", std::string("telvarin-generator ") + TELVARIN_VERSION + "\n"}}) {
        const auto answer = testing_support::runProcess({program, option}, environment);
        EXPECT_EQ(answer.exitStatus, 0) << option;
        EXPECT_EQ(answer.standardOutput.substr(0, start.size()), start);
        EXPECT_EQ(answer.standardError, "");
    }
    // An answer that cannot be written is a failure.
    const auto full =
        testing_support::runProcess({"/bin/sh", "-c", "exec \"$0\" --version >/dev/full", program}, environment);
    EXPECT_EQ(full.exitStatus, 1);
    EXPECT_NE(full.standardError.find("could not write"), std::string::npos) << full.standardError;
}

TEST(GeneratorProgram, SpeaksTheFirstLanguageOfTheDesktopItKnowsAndEnglishInTheCLocale)
{
    testing_support::TempDir home;
    const struct {
        std::map<std::string, std::string> environment;
        const char* usage; // up to the command
    } cases[] = {
        {{{"LANG", "de_DE.UTF-8"}}, "Aufruf: "},
        {{{"LANG", "ja_JP.UTF-8"}}, "使い方: "},
        {{{"LANG", "zh_CN.UTF-8"}}, "用法："},
        {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "fr:de"}}, "Usage\u00a0: "},
        {{{"LANG", "pt_BR.UTF-8"}, {"LANGUAGE", "pt_BR:it"}}, "Uso: "},
        {{{"LANG", "C"}, {"LC_MESSAGES", "es_ES.UTF-8"}}, "Uso: "},
        // English where it comes first, where no language is one the tool
        // speaks (Traditional Chinese is not Simplified), and in the C locale.
        {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "en:de"}}, "Usage: "},
        {{{"LANG", "zh_TW.UTF-8"}}, "Usage: "},
        {{{"LANG", "C"}, {"LANGUAGE", "de"}}, "Usage: "},
        {{{"LC_ALL", "C.UTF-8"}, {"LANG", "de_DE.UTF-8"}}, "Usage: "},
        {{}, "Usage: "},
    };
    for (const auto& [environment, usage] : cases) {
        auto withHome = environment;
        withHome.emplace("HOME", home.path());
        const auto answer = testing_support::runProcess({TELVARIN_GENERATOR_EXECUTABLE, "--help"}, withHome);
        EXPECT_EQ(answer.exitStatus, 0);
        EXPECT_EQ(answer.standardOutput.rfind(std::string(usage) + "telvarin-generator [--help | --version]\n", 0), 0u)
            << answer.standardOutput;
    }
}
