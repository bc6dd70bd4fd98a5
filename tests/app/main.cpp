// The window suites run inside one QApplication on the offscreen platform,
// under a German locale.
#include <QApplication>

#include <gtest/gtest.h>

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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
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
