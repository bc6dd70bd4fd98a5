// telvarin_window_screenshot SYSTEM_ROOT OUT_DIR [FONT_POINTS]: the real
// window on the display Qt is given (Xvfb in scripts/window-screenshot.sh),
// in the language of the locale it is started in, photographed at rest,
// during a long run, asking whether to cancel it when it is closed, after
// that run was cancelled, with the box of a failed run over it and once
// that box is closed (the partial report it left in the window), after a
// report was placed, at its smallest size, once Open Folder found nothing
// to show the folder with, with the report's contents open, and once Email
// to Support opened a mail and once it found no mail program (a stand-in for
// the desktop session, so that nothing reaches the desktop of the person
// taking the pictures). The
// runs collect from a copy of
// SYSTEM_ROOT (the sample system) with HOME in a temporary directory, where
// the archive goes, and a simulated printer of the maker on USB: the long
// run finds the backend's log grown to 1 GiB (sparse), the failed one no
// driver folder. The clock stands at 7 March 2011, 14:05, the date the
// README shows. FONT_POINTS sets the application's font size, as a user's
// larger desktop font does. With SCREENSHOT_LINGER_MS set, each state and
// box stays that long, to be read through the accessibility tree; with
// SCREENSHOT_STAY set, the window stays open afterwards until it is closed.
#include "app/ApplicationIdentity.h"
#include "app/ElidingLabel.h"
#include "app/PlacedReportRow.h"
#include "app/ReportContents.h"
#include "app/Translations.h"
#include "tests/app/WindowHarness.h"
#include "tests/doubles/SimulatedPrinter.h"

#include <QAbstractButton>
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
#include <QToolButton>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

using namespace app_testing;
using namespace testing_support;

namespace {

int lingerMilliseconds()
{
    return qEnvironmentVariableIntValue("SCREENSHOT_LINGER_MS");
}

bool saveShot(QWidget& window, const std::string& path, const QRect& area = {})
{
    // Let the window paint what it shows now before the X server is read.
    QApplication::processEvents();
    const QRect shown = area.isNull() ? window.frameGeometry() : area;
    const QPixmap shot = window.screen()->grabWindow(0, shown.x(), shown.y(), shown.width(), shown.height());
    const bool saved = !shot.isNull() && shot.save(QString::fromStdString(path), "PNG");
    std::fprintf(stderr, "%s %s\n", saved ? "saved" : "could not save", path.c_str());
    return saved;
}

// Answers every message box with OK, a question with No; the first box of
// the given kind is photographed first, over the window.
class BoxPhotographer : public QObject {
public:
    BoxPhotographer(QWidget& window, std::string path, QMessageBox::Icon kind = QMessageBox::Critical)
        : window_(window),
          path_(std::move(path)),
          kind_(kind)
    {
        connect(&poll_, &QTimer::timeout, this, &BoxPhotographer::look);
        poll_.start(20);
    }
    bool saved = false;
    bool critical = false;

private:
    void look()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || busy_)
            return;
        busy_ = true;
        QTest::qWait(300 + lingerMilliseconds());
        if (box->icon() == kind_ && !critical) {
            critical = true;
            saved = saveShot(window_, path_, window_.frameGeometry().united(box->frameGeometry()));
        }
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
        else if (QAbstractButton* keep = box->escapeButton())
            keep->click();
        busy_ = false;
    }
    QWidget& window_;
    std::string path_;
    QMessageBox::Icon kind_;
    QTimer poll_;
    bool busy_ = false;
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

    TempDir work;
    const std::string root = work / "system";
    std::filesystem::copy(argv[1], root, std::filesystem::copy_options::recursive);
    const std::string home = work / "home";
    makeDirectories(home);
    FakeMachine machine;
    machine.clock = FakeClock(utcTime(2011, 3, 7, 14, 5), 0);
    machine.environment.variables["HOME"] = home;
    machine.collectFrom(root);
    SimulatedPrinter printer;
    auto installed = machine.install(usbServices(&printer));

    RecordingDesktopSession session;
    session.showWorks = false;
    AppDelegate window(AppDelegate::shippedReportRequest, &session);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    bool saved = saveShot(window, outDir + "/at-rest.png");
    QTest::qWait(lingerMilliseconds());

    // A long run, photographed while it copies the large log, then cancelled.
    const std::string log = root + "/var/log/quorvel/quorvel-backend.log";
    const std::string logText = readWholeFile(log);
    if (truncate(log.c_str(), off_t{1} << 30) != 0)
        return 1;
    QTimer whileCopying;
    QObject::connect(&whileCopying, &QTimer::timeout, [&] {
        const int value = window.indicator()->value();
        if (!window.statusLine()->fullText().contains(QStringLiteral("quorvel-backend.log")) || value < 30)
            return;
        whileCopying.stop();
        saved = saveShot(window, outDir + "/running.png") && saved;
        QTest::qWait(lingerMilliseconds());
        {
            BoxPhotographer question(window, outDir + "/close-question.png", QMessageBox::Question);
            window.close();
            saved = question.saved && saved;
        }
        window.cancelButton()->click();
    });
    whileCopying.start(20);
    window.button()->click();
    QTest::qWait(100);
    saved = saveShot(window, outDir + "/after-cancel.png") && saved;
    QTest::qWait(lingerMilliseconds());
    writeFile(log, logText);

    // A run that fails: the maker's driver folder is missing.
    const std::string drivers = root + "/Library/Printers/Quorvel";
    std::filesystem::rename(drivers, drivers + ".away");
    {
        BoxPhotographer photographer(window, outDir + "/after-failure.png");
        window.button()->click();
        saved = photographer.saved && saved;
    }
    QTest::qWait(100);
    saved = saveShot(window, outDir + "/after-failure-partial.png") && saved;
    QTest::qWait(lingerMilliseconds());
    std::filesystem::rename(drivers + ".away", drivers);

    // A run that places its report.
    {
        BoxPhotographer answerer(window, outDir + "/unexpected-failure.png");
        window.button()->click();
    }
    // The keyboard back to the window, as a window manager gives it once a
    // box has closed: the focus is where a screen reader finds it.
    window.activateWindow();
    static_cast<void>(QTest::qWaitForWindowActive(&window, 1000));
    QTest::qWait(100);
    saved = saveShot(window, outDir + "/after-success.png") && saved;
    QTest::qWait(lingerMilliseconds());
    window.resize(window.minimumSize());
    QTest::qWait(100);
    saved = saveShot(window, outDir + "/after-success-smallest.png") && saved;
    window.placedReport()->openFolderButton()->click();
    QTest::qWait(100);
    saved = saveShot(window, outDir + "/open-folder-failed.png") && saved;
    QTest::mouseClick(window.placedReport()->contents()->disclosure(), Qt::LeftButton);
    QTest::qWait(100);
    saved = saveShot(window, outDir + "/contents-open.png") && saved;
    for (const auto& [outcome, name] :
         {std::pair{MailOutcome::composing, "mail-opened"}, std::pair{MailOutcome::noMailProgram, "mail-by-hand"}}) {
        session.mailOutcome = outcome;
        window.placedReport()->emailButton()->click();
        QTest::qWait(100);
        saved = saveShot(window, outDir + "/" + name + ".png") && saved;
        QTest::qWait(lingerMilliseconds());
    }
    const bool placed = window.placedReport()->fileName()->isVisible();
    if (!placed)
        std::fprintf(stderr, "the press placed no report\n");
    if (qEnvironmentVariableIsSet("SCREENSHOT_STAY"))
        application.exec();
    return saved && placed ? 0 : 1;
}
