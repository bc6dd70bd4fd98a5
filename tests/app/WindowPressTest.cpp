// Presses of the real window's button, offscreen: what the user is shown,
// when the indicator runs, and what lands on the desktop.
#include "app/DisplayText.h"
#include "app/ElidingLabel.h"
#include "app/PlacedReportRow.h"
#include "app/ProgressBarIndicator.h"
#include "core/report/ErrorMessages.h"
#include "tests/app/WindowHarness.h"
#include "tests/doubles/SimulatedPrinter.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTextDocumentFragment>

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <memory>
#include <stdexcept>

using namespace app_testing;
using namespace testing_support;

namespace {

const QString PLACED = QStringLiteral("A report has been placed on the desktop");
const char* const LOG_ENTRY = "reportData/reportGeneratorLog.log";

bool animating(const AppDelegate& window)
{
    return window.indicator()->minimum() == 0 && window.indicator()->maximum() == 0;
}

// The last box is the outcome; any before it told the user something while
// the run went on (no printer found), so the indicator was still busy.
void expectOutcome(const std::vector<ShownBox>& boxes, QMessageBox::Icon icon, const QString& text)
{
    ASSERT_FALSE(boxes.empty()) << "the press ended without a message";
    const ShownBox& outcome = boxes.back();
    EXPECT_EQ(outcome.text, text);
    EXPECT_EQ(outcome.icon, icon);
    EXPECT_EQ(outcome.buttonCount, 1);
    EXPECT_EQ(outcome.textFormat, Qt::PlainText);
    EXPECT_TRUE(outcome.overTheWindow);
    EXPECT_FALSE(outcome.indicatorRunning) << "the indicator must stop before the outcome shows";
    EXPECT_FALSE(outcome.cancelShown) << "nothing is left to cancel";
    for (std::size_t i = 0; i + 1 < boxes.size(); ++i) {
        EXPECT_EQ(boxes[i].icon, QMessageBox::Critical) << boxes[i].text.toStdString();
        EXPECT_TRUE(boxes[i].indicatorRunning) << boxes[i].text.toStdString();
    }
}

// The time of day as the user's locale writes it with %p.
std::string dayHalf(const std::tm& moment)
{
    char text[16];
    std::size_t length = std::strftime(text, sizeof text, "%p", &moment);
    return std::string(text, length);
}

// Keeps the process in a German locale for the test, as Qt leaves it when the
// desktop session sets LC_ALL=de_DE.UTF-8 (the suite's own environment).
class GermanLocale {
public:
    GermanLocale() : previous_(std::setlocale(LC_ALL, nullptr))
    {
        if (std::string(std::setlocale(LC_TIME, nullptr)).rfind("de_DE", 0) != 0)
            available_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    }
    ~GermanLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    GermanLocale(const GermanLocale&) = delete;
    GermanLocale& operator=(const GermanLocale&) = delete;
    bool available() const { return available_; }

private:
    std::string previous_;
    bool available_ = true;
};

class ThrowingClock final : public platform::Clock {
public:
    std::time_t now() const override { throw std::runtime_error("clock unavailable"); }
    std::tm localTime(std::time_t moment) const override
    {
        std::tm broken{};
        gmtime_r(&moment, &broken);
        return broken;
    }
};

class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// A fake machine whose HOME is a fresh report place, and the window a test
// presses, made and shown once the test has arranged the rest.
class WindowPress : public ::testing::Test {
protected:
    FakeMachine machine;
    ReportPlace place;
    platform::ScopedServices installed = machine.install(place.servicesFor(machine));
    RecordingDesktopSession session;

    // By default the window asks for the place's data.xml and talks to the
    // user's session bus.
    AppDelegate& openWindow(AppDelegate::RequestSource request = {}, DesktopSession* desktop = nullptr)
    {
        window_ = std::make_unique<AppDelegate>(request ? std::move(request) : requestFor(place.dataXml), desktop);
        showWindow(*window_);
        return *window_;
    }

private:
    std::unique_ptr<AppDelegate> window_;
};

} // namespace

TEST_F(WindowPress, SuccessPlacesTheDatedArchiveOnTheDesktopAndSaysSo)
{
    machine.clock = FakeClock(utcTime(2011, 3, 7, 14, 5), 0);
    AppDelegate& window = openWindow();
    ASSERT_FALSE(animating(window));

    auto boxes = pressButton(window);

    expectOutcome(boxes, QMessageBox::Information, PLACED);
    EXPECT_TRUE(machine.reporter.shown.empty()) << "the window shows its own boxes";
    ASSERT_EQ(machine.systemLog.lines.size(), 1u);
    EXPECT_EQ(machine.systemLog.lines[0], "The current date and time is: 2011-03-07 14:05:00 +0000");
    ASSERT_EQ(place.desktopFiles(), std::vector<std::string>{"Telvarin_03_07_2011__02_05_PM.zip"});
    std::string archive = place.desktop() + "/Telvarin_03_07_2011__02_05_PM.zip";
    EXPECT_TRUE(unzipTestPasses(archive));
    auto names = readZipEntryNames(archive);
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.back(), LOG_ENTRY);
    EXPECT_FALSE(animating(window));
    EXPECT_TRUE(window.button()->isEnabled());
}

TEST_F(WindowPress, ArchiveNameKeepsAmAndPmUnderAGermanLocale)
{
    GermanLocale german;
    ASSERT_TRUE(german.available()) << "de_DE.UTF-8 is not generated (scripts/install-deps.sh does it)";
    std::tm halfPastMidnight{};
    halfPastMidnight.tm_hour = 0;
    ASSERT_EQ(dayHalf(halfPastMidnight), "") << "the German locale has no AM/PM, which is what this test is about";

    machine.clock = FakeClock(utcTime(2011, 3, 7, 0, 30), 0);
    AppDelegate& window = openWindow();

    expectOutcome(pressButton(window), QMessageBox::Information, PLACED);
    machine.clock.advance(14 * 3600);
    expectOutcome(pressButton(window), QMessageBox::Information, PLACED);

    EXPECT_EQ(place.desktopFiles(),
              (std::vector<std::string>{"Telvarin_03_07_2011__02_30_PM.zip", "Telvarin_03_07_2011__12_30_AM.zip"}));
}

TEST_F(WindowPress, TwoPressesGiveTwoArchivesEachWithAFreshLog)
{
    machine.clock = FakeClock(utcTime(2011, 3, 7, 14, 5), 0);
    AppDelegate& window = openWindow();

    expectOutcome(pressButton(window), QMessageBox::Information, PLACED);
    machine.clock.advance(60);
    expectOutcome(pressButton(window), QMessageBox::Information, PLACED);

    ASSERT_EQ(place.desktopFiles(),
              (std::vector<std::string>{"Telvarin_03_07_2011__02_05_PM.zip", "Telvarin_03_07_2011__02_06_PM.zip"}));
    std::string firstLog = readZipEntry(place.desktop() + "/Telvarin_03_07_2011__02_05_PM.zip", LOG_ENTRY);
    std::string secondLog = readZipEntry(place.desktop() + "/Telvarin_03_07_2011__02_06_PM.zip", LOG_ENTRY);
    EXPECT_EQ(secondLog, firstLog) << "the second press must not carry the first one's log lines";
    EXPECT_EQ(machine.systemLog.lines.size(), 2u);
}

TEST_F(WindowPress, MissingDataXmlEndsWithCodeFive)
{
    AppDelegate& window = openWindow([] { return ReportRequest{}; });

    auto boxes = pressButton(window);

    ASSERT_EQ(boxes.size(), 1u);
    expectOutcome(boxes, QMessageBox::Critical, QStringLiteral("Could not find data.xml"));
    EXPECT_TRUE(place.desktopFiles().empty());
    EXPECT_EQ(machine.systemLog.lines.size(), 1u);
}

TEST_F(WindowPress, CodesThrownByTheRunShowTheirMessageInTheCriticalStyle)
{
    int code = 0;
    HookedEnvironment failing(place.home, [&code] { throw CodedFailure{code}; });
    auto failingHome = replaceServices([&](platform::Services& services) { services.environment = &failing; });
    AppDelegate& window = openWindow();

    const std::pair<int, QString> cases[] = {
        {8, QStringLiteral("Could not parse data.xml (error code 8)")},
        {11, QStringLiteral("Error code 11 occured")},
        {-536870199, QStringLiteral("Error code -536870199 occured")},
    };
    for (const auto& [thrown, message] : cases) {
        SCOPED_TRACE(thrown);
        code = thrown;
        auto boxes = pressButton(window);
        ASSERT_EQ(boxes.size(), 1u);
        expectOutcome(boxes, QMessageBox::Critical, message);
    }
    EXPECT_TRUE(window.button()->isEnabled());
}

TEST_F(WindowPress, FailuresThatAreNotCodesStillEndWithAnErrorMessage)
{
    std::function<void()> failure;
    HookedEnvironment failing(place.home, [&failure] { failure(); });
    auto failingHome = replaceServices([&](platform::Services& services) { services.environment = &failing; });
    AppDelegate& window = openWindow();

    // A library's text is shown as it stands, never as markup.
    failure = [] { throw std::runtime_error("<b>disk</b> gone"); };
    expectOutcome(pressButton(window), QMessageBox::Critical,
                  QString::fromUtf8(UNEXPECTED_FAILURE_MESSAGE) + " (" +
                      displayText::inSentence(std::string("<b>disk</b> gone")) + ")");

    failure = [] { throw 2.5; };
    expectOutcome(pressButton(window), QMessageBox::Critical, QString::fromUtf8(UNEXPECTED_FAILURE_MESSAGE));
}

TEST_F(WindowPress, AFailureBeforeTheRunStartsDoesNotEndTheProgram)
{
    AppDelegate& window = openWindow();
    {
        // The date line for the system log is written before the report's
        // own guard; a failure there must not escape the report's thread.
        ThrowingClock broken;
        auto brokenClock = replaceServices([&](platform::Services& services) { services.clock = &broken; });
        auto boxes = pressButton(window);
        ASSERT_EQ(boxes.size(), 1u);
        expectOutcome(boxes, QMessageBox::Critical, QString::fromUtf8(UNEXPECTED_FAILURE_MESSAGE));
        EXPECT_TRUE(place.desktopFiles().empty());
    }
    // The window is ready for the next press.
    expectOutcome(pressButton(window), QMessageBox::Information, PLACED);
}

TEST_F(WindowPress, WhileARunGoesOnTheIndicatorPaintsAndTheWindowTakesNoInput)
{
    Gate gate;
    HookedEnvironment held(place.home, [&gate] { gate.holdHere(); });
    auto heldHome = replaceServices([&](platform::Services& services) { services.environment = &held; });
    AppDelegate& window = openWindow();
    PaintCounter paints(window.indicator());

    struct {
        bool observed = false;
        int paintsWhileHeld = 0;
        bool animating = false;
        bool buttonEnabled = true;
        bool closed = true;
        bool visibleAfterClose = false;
        QString status;
        QString barDescription;
    } seen;
    int paintsAtHold = -1;
    QElapsedTimer heldFor;
    QTimer observer;
    QObject::connect(&observer, &QTimer::timeout, [&] {
        if (seen.observed || !gate.isHolding())
            return;
        if (paintsAtHold < 0) {
            paintsAtHold = paints.count;
            heldFor.start();
            return;
        }
        // The busy animation repaints by itself while the run is held.
        if (paints.count - paintsAtHold < 2 && heldFor.elapsed() < 5000)
            return;
        seen.observed = true;
        seen.paintsWhileHeld = paints.count - paintsAtHold;
        seen.animating = animating(window);
        seen.buttonEnabled = window.button()->isEnabled();
        seen.closed = window.close();
        seen.visibleAfterClose = window.isVisible();
        seen.status = window.statusLine()->text();
        seen.barDescription = QAccessible::queryAccessibleInterface(window.indicator())->text(QAccessible::Description);
        window.button()->click();
        window.clickButton();
        gate.open();
    });
    observer.start(5);

    auto boxes = pressButton(window);

    ASSERT_TRUE(seen.observed);
    EXPECT_GE(seen.paintsWhileHeld, 2);
    EXPECT_TRUE(seen.animating);
    EXPECT_FALSE(seen.buttonEnabled);
    EXPECT_FALSE(seen.closed);
    EXPECT_TRUE(seen.visibleAfterClose);
    // A screen reader following the bar hears what the line under it says.
    EXPECT_FALSE(seen.status.isEmpty());
    EXPECT_EQ(seen.barDescription, seen.status);
    // Closing asked first; the answer was no, so the run went on.
    ASSERT_GE(boxes.size(), 2u);
    EXPECT_EQ(boxes.front().icon, QMessageBox::Question);
    boxes.erase(boxes.begin());
    expectOutcome(boxes, QMessageBox::Information, PLACED);
    EXPECT_EQ(machine.systemLog.lines.size(), 1u) << "a press during a run must not start another";
    EXPECT_EQ(place.desktopFiles().size(), 1u);
    EXPECT_TRUE(window.button()->isEnabled());
}

TEST_F(WindowPress, ByDefaultUsesTheDataXmlShippedWithTheTool)
{
    machine.clock = FakeClock(utcTime(2011, 3, 7, 9, 41), 0);
    AppDelegate& window = openWindow(AppDelegate::shippedReportRequest);

    expectOutcome(pressButton(window), QMessageBox::Information, PLACED);
    EXPECT_EQ(place.desktopFiles(), std::vector<std::string>{"Telvarin_03_07_2011__09_41_AM.zip"});
}

TEST_F(WindowPress, AFailuresBoxHoldsItsSentenceAndUnderItWhatFailedWhereAndWhatToDo)
{
    // The desktop the user's folders file names is a plain file, named like markup.
    const std::string desktop = place.home + "/<b>Bureau</b>";
    writeFile(place.home + "/.config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/<b>Bureau</b>\"\n");
    writeFile(desktop, "not a folder");
    AppDelegate& window = openWindow();

    const auto boxes = pressButton(window);

    expectOutcome(boxes, QMessageBox::Critical, QStringLiteral("Error code 15 occured"));
    const QString explanation = QTextDocumentFragment::fromHtml(boxes.back().informativeText).toPlainText();
    EXPECT_TRUE(explanation.contains("“" + displayText::inSentence(desktop) + "”")) << explanation.toStdString();
    EXPECT_TRUE(explanation.contains(QStringLiteral("Check that the folder exists and that you may write in it.")))
        << explanation.toStdString();
}

namespace {

// Holds the report's thread whenever the run would sleep: with a printer
// that is busy at first, the run waits there in its printer step.
class HeldSleeper final : public platform::Sleeper {
public:
    explicit HeldSleeper(Gate& gate) : gate_(gate) {}
    void sleepSeconds(unsigned) override { gate_.holdHere(); }

private:
    Gate& gate_;
};

} // namespace

TEST_F(WindowPress, TheBarClimbsFromZeroToItsMaximumDuringARunAndStaysFullOnceTheReportIsPlaced)
{
    SimulatedPrinter printer;
    auto withPrinter = replaceServices([&](platform::Services& services) { services.usb = &printer; });
    AppDelegate& window = openWindow();
    std::vector<int> counted;
    QObject::connect(window.indicator(), &QProgressBar::valueChanged, [&](int value) {
        if (window.indicator()->maximum() > 1)
            counted.push_back(value);
    });

    expectOutcome(pressButton(window), QMessageBox::Information, PLACED);

    ASSERT_GE(counted.size(), 2u);
    EXPECT_EQ(counted.front(), 0);
    EXPECT_EQ(counted.back(), ProgressBarIndicator::BAR_MAXIMUM);
    EXPECT_TRUE(std::is_sorted(counted.begin(), counted.end())) << testing::PrintToString(counted);
    EXPECT_TRUE(window.indicator()->isVisible());
}

TEST_F(WindowPress, EscapeDuringARunCancelsItLeavingTheFolderEmptyAndTheWindowAtRest)
{
    SimulatedPrinter printer;
    printer.busyClaims = 1;
    Gate gate;
    HeldSleeper held(gate);
    auto heldPrinter = replaceServices([&](platform::Services& services) {
        services.usb = &printer;
        services.sleeper = &held;
    });
    AppDelegate& window = openWindow();

    struct {
        bool observed = false;
        int value = -1;
        QString status;
        bool cancelShown = false;
        bool buttonEnabled = true;
        QString statusAfterEscape;
    } seen;
    QTimer observer;
    QObject::connect(&observer, &QTimer::timeout, [&] {
        // The line follows the run a few times a second.
        if (seen.observed || !gate.isHolding() ||
            window.statusLine()->fullText() != QStringLiteral("Reading the printer's report…"))
            return;
        seen.observed = true;
        seen.value = window.indicator()->value();
        seen.status = window.statusLine()->fullText();
        seen.cancelShown = window.cancelButton()->isVisible() && window.cancelButton()->isEnabled();
        seen.buttonEnabled = window.button()->isEnabled();
        // The bar passes the key on to the window.
        QTest::keyClick(window.indicator(), Qt::Key_Escape);
        seen.statusAfterEscape = window.statusLine()->fullText();
        gate.open();
    });
    observer.start(5);

    const auto boxes = pressButton(window);

    ASSERT_TRUE(seen.observed);
    // Held in the printer step: the files are copied, the printer is next.
    EXPECT_EQ(seen.value, ProgressBarIndicator::BAR_MAXIMUM * 9 / 10);
    EXPECT_EQ(seen.status, QStringLiteral("Reading the printer's report…"));
    EXPECT_TRUE(seen.cancelShown);
    EXPECT_FALSE(seen.buttonEnabled);
    EXPECT_EQ(seen.statusAfterEscape, QStringLiteral("Cancelling the report…"));

    EXPECT_TRUE(boxes.empty()) << "a cancelled run shows no box";
    EXPECT_TRUE(place.desktopFiles().empty());
    EXPECT_TRUE(indicatorAtRest(window));
    EXPECT_FALSE(window.cancelButton()->isVisible());
    EXPECT_TRUE(window.button()->isEnabled());
    EXPECT_FALSE(window.placedReport()->fileName()->isVisible());
    EXPECT_EQ(window.statusLine()->fullText(), QStringLiteral("The report was cancelled."));

    // The next press runs to its end.
    printer.busyClaims = 0;
    expectOutcome(pressButton(window), QMessageBox::Information, PLACED);
}

TEST_F(WindowPress, TheEndOfARunSaysHowItEndedAndOffersTheFileItLeftUntilTheNextPress)
{
    machine.clock = FakeClock(utcTime(2011, 3, 7, 14, 5), 0);
    AppDelegate& window = openWindow({}, &session);
    const std::string drivers = place.root + "/Library/Printers/Quorvel";

    const struct {
        const char* what;
        std::function<void()> arrange;
        QString line;
        // The row's caption; empty when the run left no file.
        QString caption;
        // What the failure's box says under its sentence, at its end.
        QString boxEnds;
        bool barFull;
        QPushButton* focus;
    } cases[] = {
        {"no file list",
         [&] { std::rename(place.dataXml.c_str(), (place.dataXml + ".away").c_str()); },
         QStringLiteral("The report failed: Could not find data.xml."),
         {},
         QStringLiteral("Reinstall the Telvarin Generator."),
         false,
         window.button()},
        // The most common failure on a fresh install keeps the files gathered before it.
        {"no driver folder",
         [&] {
             std::rename((place.dataXml + ".away").c_str(), place.dataXml.c_str());
             std::filesystem::rename(drivers, drivers + ".away");
         },
         QStringLiteral("The report failed: Could not find driver directory. A partial report was saved."),
         QStringLiteral("Partial report:"),
         "What was gathered until then is in the partial report “" +
             displayText::inSentence(place.desktop() + "/Telvarin_03_07_2011__02_05_PM.zip") + "”.",
         false, window.button()},
        {"placed",
         [&] {
             std::filesystem::rename(drivers + ".away", drivers);
             std::filesystem::remove(place.desktop() + "/Telvarin_03_07_2011__02_05_PM.zip");
         },
         QStringLiteral("The report was placed on the desktop."),
         QStringLiteral("Report file:"),
         {},
         true,
         window.placedReport()->openFolderButton()},
    };
    for (const auto& [what, arrange, line, caption, boxEnds, barFull, focus] : cases) {
        SCOPED_TRACE(what);
        arrange();

        const auto boxes = pressButton(window);

        ASSERT_FALSE(boxes.empty());
        EXPECT_TRUE(boxes.back().informativeText.isEmpty() == boxEnds.isEmpty());
        EXPECT_TRUE(QTextDocumentFragment::fromHtml(boxes.back().informativeText).toPlainText().endsWith(boxEnds))
            << boxes.back().informativeText.toStdString();
        EXPECT_EQ(window.statusLine()->fullText(), line);
        EXPECT_EQ(window.placedReport()->fileName()->isVisible(), !caption.isEmpty());
        if (!caption.isEmpty()) {
            EXPECT_EQ(window.placedReport()->caption()->text(), caption);
            EXPECT_EQ(window.placedReport()->fileName()->fullText(),
                      QStringLiteral("Telvarin_03_07_2011__02_05_PM.zip"));
        }
        EXPECT_EQ(window.indicator()->isVisible(), barFull);
        EXPECT_EQ(window.indicator()->value(), barFull ? ProgressBarIndicator::BAR_MAXIMUM : 0);
        // Return presses the default button: Open Folder once there is a report to show.
        EXPECT_TRUE(focus->isDefault());
        EXPECT_EQ(window.focusWidget(), focus);
    }
}

TEST_F(WindowPress, ARunOverThousandsOfSmallFilesChangesWhatAScreenReaderFollowsAFewTimesASecond)
{
    const std::string logs = place.root + place.home + "/Library/Logs/many";
    for (int i = 0; i < 2000; ++i)
        writeFile(logs + "/" + std::to_string(i) + ".log", "a line\n");
    writeFile(place.dataXml, "<c><Absolute_Path_Files/><Home_Path_Files><f>Library/Logs/many/*.log</f>"
                             "</Home_Path_Files></c>");
    AppDelegate& window = openWindow();
    // Each change of the bar's value and of the line under it is an event a
    // screen reader speaks. The line is looked at on every turn of the
    // event loop, where it can change.
    std::vector<int> values;
    QObject::connect(window.indicator(), &QProgressBar::valueChanged, [&](int value) { values.push_back(value); });
    std::vector<QString> lines;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const QString line = window.statusLine()->shownText();
        if (lines.empty() || lines.back() != line)
            lines.push_back(line);
    });
    watch.start(0);
    QElapsedTimer run;
    run.start();

    expectOutcome(pressButton(window), QMessageBox::Information, PLACED);

    const qint64 elapsed = run.elapsed();
    watch.stop();
    // At once, then once an interval at most, and the end.
    const std::size_t allowed = static_cast<std::size_t>(elapsed / 250 + 4);
    EXPECT_GE(lines.size(), 3u) << "the line followed the run";
    EXPECT_LE(lines.size(), allowed) << elapsed << " ms: " << testing::PrintToString(lines);
    EXPECT_LE(values.size(), allowed) << elapsed << " ms: " << testing::PrintToString(values);
    EXPECT_TRUE(std::all_of(values.begin(), values.end(), [](int value) { return value >= -1 && value <= 100; }))
        << "whole percent: " << testing::PrintToString(values);
}
