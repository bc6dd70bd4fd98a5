// The window suites run inside one QApplication on the offscreen platform,
// under a German locale, with a second, small screen beside the first.
#include "tests/doubles/TestFiles.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <fstream>

namespace {

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform says on every window that it cannot pass size hints
// on; that is no news to these tests.
void quietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support propagateSizeHints")))
        return;
    defaultHandler(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no application.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    // The offscreen platform's own screen, and "small": 1024x600 at twice
    // the scale, a netbook's, where a window must still fit.
    testing_support::TempDir screens;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::ofstream(screens / "screens.json")
            << R"({"screens": [{"name": "", "x": 0, "y": 0, "width": 800, "height": 800},)"
               R"( {"name": "small", "x": 800, "y": 0, "width": 1024, "height": 600, "dpr": 2.0}]})";
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QByteArray::fromStdString(screens / "screens.json"));
    }
    // A German desktop, which the report must not follow. No session bus: a
    // window the tests make must not notify the desktop of the person running
    // them; the session's own tests start a bus of their own.
    qputenv("LC_ALL", "de_DE.UTF-8");
    qunsetenv("LANGUAGE");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/telvarin-tests");
    defaultHandler = qInstallMessageHandler(quietOffscreenNotes);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
