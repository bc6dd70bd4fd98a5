// The freedesktop.org session over a private D-Bus bus, with stand-ins for
// the file manager and the notification service.
#include "ApplicationIdentity.h"
#include "DesktopSession.h"
#include "TestFiles.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

using namespace testing_support;

namespace {

// A session bus of the test's own: nothing is activated on it, and nothing
// but the stand-ins answers.
class PrivateBus {
public:
    PrivateBus()
    {
        const std::string config = directory / "bus.conf";
        std::ofstream(config) << "<busconfig><type>session</type>"
                                 "<listen>unix:dir="
                              << directory.path()
                              << "</listen><auth>EXTERNAL</auth>"
                                 "<policy context=\"default\"><allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                                 "<allow own=\"*\"/>"
                                 "</policy></busconfig>\n";
        daemon_.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--nofork"), QStringLiteral("--print-address"),
                                                      QStringLiteral("--config-file=") + QString::fromStdString(config)});
        if (daemon_.waitForReadyRead(10000))
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        for (const QString& name : names_)
            QDBusConnection::disconnectFromBus(name);
        daemon_.terminate();
        daemon_.waitForFinished();
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool isRunning() const { return !address_.isEmpty(); }
    QDBusConnection connect(const QString& name)
    {
        names_.append(name);
        return QDBusConnection::connectToBus(address_, name);
    }

private:
    TempDir directory;
    QProcess daemon_;
    QString address_;
    QStringList names_;
};

class StandInFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList shownUris;

public slots:
    void ShowItems(const QStringList& uris, const QString&) { shownUris += uris; }
};

class StandInNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notification {
        QString appName, appIcon, summary, body;
        QVariantMap hints;
        int expireTimeout = 0;
    };
    std::vector<Notification> received;

public slots:
    uint Notify(const QString& appName, uint, const QString& appIcon, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap& hints, int expireTimeout)
    {
        received.push_back({appName, appIcon, summary, body, hints, expireTimeout});
        return static_cast<uint>(received.size());
    }
};

// One show through the session; what it answered and what the fallback was asked.
struct ShowOutcome {
    std::optional<bool> shown;
    QStringList openedFolders;
};

ShowOutcome showThrough(const QDBusConnection& client, const QString& file, bool openerWorks)
{
    ShowOutcome outcome;
    FreedesktopSession session(client, [&](const QString& folder) {
        outcome.openedFolders.append(folder);
        return openerWorks;
    });
    session.showFileInFolder(file, [&](bool shown) { outcome.shown = shown; });
    QTest::qWaitFor([&] { return outcome.shown.has_value(); }, 15000);
    return outcome;
}

const QString ARCHIVE = QStringLiteral("/home/anna/Schreib tisch/Bericht \u00fc/Telvarin_03_07_2011__02_05_PM.zip");
const QString FOLDER = QStringLiteral("/home/anna/Schreib tisch/Bericht \u00fc");

} // namespace

TEST(DesktopSession, ShowsTheArchiveInTheFileManagerElseOpensItsFolderElseSaysItCouldNot)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start";
    QDBusConnection client = bus.connect(QStringLiteral("client"));
    ASSERT_TRUE(client.isConnected());

    // Nothing on the bus answers ShowItems: the desktop's opener takes the folder.
    for (bool openerWorks : {true, false}) {
        SCOPED_TRACE(openerWorks);
        ShowOutcome outcome = showThrough(client, ARCHIVE, openerWorks);
        EXPECT_EQ(outcome.shown, openerWorks);
        EXPECT_EQ(outcome.openedFolders, QStringList{FOLDER});
    }
    // No session bus at all.
    ShowOutcome withoutBus = showThrough(QDBusConnection(QStringLiteral("no such connection")), ARCHIVE, false);
    EXPECT_EQ(withoutBus.shown, false);
    EXPECT_EQ(withoutBus.openedFolders, QStringList{FOLDER});

    StandInFileManager fileManager;
    QDBusConnection service = bus.connect(QStringLiteral("file manager"));
    ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &fileManager,
                                       QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.FileManager1")));

    ShowOutcome selected = showThrough(client, ARCHIVE, false);

    EXPECT_EQ(selected.shown, true);
    EXPECT_TRUE(selected.openedFolders.isEmpty());
    EXPECT_EQ(fileManager.shownUris,
              QStringList{QStringLiteral(
                  "file:///home/anna/Schreib%20tisch/Bericht%20%C3%BC/Telvarin_03_07_2011__02_05_PM.zip")});
}

TEST(DesktopSession, ANotificationNamesTheToolItsEntryAndTheOutcome)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start";
    StandInNotifications notifications;
    QDBusConnection service = bus.connect(QStringLiteral("notifications"));
    ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &notifications,
                                       QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.Notifications")));
    FreedesktopSession session(bus.connect(QStringLiteral("client")));

    session.notify(QStringLiteral("Report placed"), QStringLiteral("A report has been placed on the desktop"));

    ASSERT_TRUE(QTest::qWaitFor([&] { return !notifications.received.empty(); }, 10000));
    const auto& shown = notifications.received.front();
    EXPECT_EQ(shown.appName, QGuiApplication::applicationDisplayName());
    EXPECT_EQ(shown.appIcon, QString::fromLatin1(APPLICATION_ID));
    EXPECT_EQ(shown.summary, QStringLiteral("Report placed"));
    EXPECT_EQ(shown.body, QStringLiteral("A report has been placed on the desktop"));
    EXPECT_EQ(shown.hints.value(QStringLiteral("desktop-entry")).toString(), QString::fromLatin1(APPLICATION_ID));
    EXPECT_EQ(shown.expireTimeout, -1);
}

#include "DesktopSessionTest.moc"
