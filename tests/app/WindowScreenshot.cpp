// telvarin_window_screenshot SYSTEM_ROOT OUT_DIR [FONT_POINTS]: the real
// window on the display Qt is given (Xvfb in scripts/window-screenshot.sh),
// in the language of the locale it is started in, photographed at rest,
// during a press, with the box that says no printer was found, after the
// press, after it at its smallest size, once Open Folder found nothing to
// show the folder with (a stand-in for the desktop session, so that nothing
// reaches the desktop of the person taking the pictures), and with the box
// of a press that failed. The press collects from SYSTEM_ROOT (the sample
// system) with HOME in a temporary directory, where the archive goes; the
// clock stands at 7 March 2011, 14:05, the date the README shows. FONT_POINTS
// sets the application's font size, as a user's larger desktop font does.
// With SCREENSHOT_STAY set, the window stays open after the pictures until it
// is closed, to be looked at through the accessibility tree.
#include "ApplicationIdentity.h"
#include "ElidingLabel.h"
#include "Translations.h"
#include "WindowHarness.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <initializer_list>
#include <string>
#include <utility>

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

// Photographs every message box over the window, then answers it with OK.
class BoxPhotographer {
public:
    BoxPhotographer(AppDelegate& window, std::string outDir) : window_(window), outDir_(std::move(outDir))
    {
        QObject::connect(&poll_, &QTimer::timeout, [this] { photographOpenBox(); });
        poll_.start(10);
    }
    // The names of the next boxes' pictures, in order.
    void nameNext(std::initializer_list<std::string> names) { names_.insert(names_.end(), names); }
    bool saved = true;

private:
    void photographOpenBox()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        if (!names_.empty()) {
            QTest::qWait(200);
            const QRect area = window_.frameGeometry().united(box->frameGeometry());
            const QPixmap shot = window_.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
            const std::string path = outDir_ + "/" + names_.front() + ".png";
            const bool ok = !shot.isNull() && shot.save(QString::fromStdString(path), "PNG");
            std::fprintf(stderr, "%s %s\n", ok ? "saved" : "could not save", path.c_str());
            saved = saved && ok;
            names_.pop_front();
        }
        box->button(QMessageBox::Ok)->click();
    }

    AppDelegate& window_;
    std::string outDir_;
    std::deque<std::string> names_;
    QTimer poll_;
};

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
    Translations translations = Translations::forDesktop();
    translations.install();
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
    // The second press finds no data.xml.
    int presses = 0;
    AppDelegate window(
        [&presses] { return ++presses == 1 ? AppDelegate::shippedReportRequest() : ReportRequest{}; }, &session);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    bool saved = saveShot(window, outDir + "/at-rest.png");

    // The indicator is photographed while the report's thread waits at HOME.
    BoxPhotographer boxes(window, outDir);
    boxes.nameNext({"no-printer-box", "placed-box"});
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
    boxes.nameNext({"failure-box"});
    window.button()->click();
    saved = saved && boxes.saved;
    if (qEnvironmentVariableIsSet("SCREENSHOT_STAY"))
        application.exec();
    return saved && placed ? 0 : 1;
}
