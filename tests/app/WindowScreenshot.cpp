// telvarin_window_screenshot SYSTEM_ROOT OUT_DIR [FONT_POINTS]: the real
// window on the display Qt is given (Xvfb in scripts/window-screenshot.sh),
// photographed at rest, during a press, after it, after it at its smallest
// size, and once Open Folder found nothing to show the folder with (a
// stand-in for the desktop session, so that nothing reaches the desktop of
// the person taking the pictures). The press collects from SYSTEM_ROOT (the sample system)
// with HOME in a temporary directory, where the archive goes; the clock
// stands at 7 March 2011, 14:05, the date the README shows. FONT_POINTS sets
// the application's font size, as a user's larger desktop font does. With
// SCREENSHOT_STAY set, the window stays open after the pictures until it is
// closed, to be looked at through the accessibility tree.
#include "ApplicationIdentity.h"
#include "ElidingLabel.h"
#include "WindowHarness.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace app_testing;
using namespace testing_support;

namespace {

bool saveShot(AppDelegate& window, const std::string& path)
{
    // Let the window paint what it shows now before the X server is read.
    QApplication::processEvents();
    const QPixmap shot = window.screen()->grabWindow(window.winId());
    const bool saved = !shot.isNull() && shot.save(QString::fromStdString(path), "PNG");
    std::fprintf(stderr, "%s %s\n", saved ? "saved" : "could not save", path.c_str());
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s SYSTEM_ROOT OUT_DIR [FONT_POINTS]\n", argv[0]);
        return 2;
    }
    const std::string outDir = argv[2];
    QApplication application(argc, argv);
    applyApplicationIdentity();
    if (argc == 4) {
        QFont font = QApplication::font();
        font.setPointSize(std::atoi(argv[3]));
        QApplication::setFont(font);
    }

    TempDir home;
    FakeMachine machine;
    machine.clock = FakeClock(utcTime(2011, 3, 7, 14, 5), 0);
    machine.collectFrom(argv[1]);
    Gate gate;
    HookedEnvironment held(home.path(), [&gate] { gate.holdHere(); });
    auto installed = machine.install();
    auto heldHome = replaceServices([&](platform::Services& services) { services.environment = &held; });

    RecordingDesktopSession session;
    session.showWorks = false;
    AppDelegate window(AppDelegate::shippedReportRequest, &session);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    bool saved = saveShot(window, outDir + "/at-rest.png");

    // The indicator is photographed while the report's thread waits at HOME.
    std::unique_ptr<MessageBoxAnswerer> answerer = std::make_unique<MessageBoxAnswerer>(window);
    QTimer whileHeld;
    QObject::connect(&whileHeld, &QTimer::timeout, [&] {
        if (!gate.isHolding())
            return;
        whileHeld.stop();
        QTest::qWait(200);
        saved = saveShot(window, outDir + "/running.png") && saved;
        gate.open();
    });
    whileHeld.start(10);
    window.button()->click();

    QTest::qWait(100);
    saved = saveShot(window, outDir + "/after-success.png") && saved;
    window.resize(window.minimumSize());
    QTest::qWait(100);
    saved = saveShot(window, outDir + "/after-success-smallest.png") && saved;
    window.openFolderButton()->click();
    QTest::qWait(100);
    saved = saveShot(window, outDir + "/open-folder-failed.png") && saved;
    const bool placed = window.placedFileName()->isVisible();
    if (!placed)
        std::fprintf(stderr, "the press placed no report\n");
    if (qEnvironmentVariableIsSet("SCREENSHOT_STAY"))
        application.exec();
    return saved && placed ? 0 : 1;
}
