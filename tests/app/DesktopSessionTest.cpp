// The freedesktop.org session over a private D-Bus bus, with one stand-in
// for both the file manager and the notification service.
#include "app/ApplicationIdentity.h"
#include "app/DesktopSession.h"
#include "tests/doubles/TestFiles.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

namespace {

// A bus of the test's own, on which nothing is activated and nothing but
// the stand-in answers.
class PrivateBus {
public:
    PrivateBus()
    {
        const std::string config = directory_ / "bus.conf";
        std::ofstream(config) << "<busconfig><type>session</type><listen>unix:dir=" << directory_.path()
                              << "</listen><auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\"/>"
                                 "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>\n";
        daemon_.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--nofork"), QStringLiteral("--print-address"),
                                                      QStringLiteral("--config-file=") + QString::fromStdString(config)});
        if (daemon_.waitForReadyRead(10000))
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        for (const QString& name : {QStringLiteral("client"), QStringLiteral("service")})
            QDBusConnection::disconnectFromBus(name);
        daemon_.terminate();
        daemon_.waitForFinished();
    }
    QDBusConnection connect(const QString& name) { return QDBusConnection::connectToBus(address_, name); }

private:
    testing_support::TempDir directory_;
    QProcess daemon_;
    QString address_;
};

class StandIn : public QObject {
    Q_OBJECT

public:
    QStringList shownUris;
    QStringList notification;
    QVariantMap hints;

public slots:
    void ShowItems(const QStringList& uris, const QString&) { shownUris += uris; }
    uint Notify(const QString& app, uint, const QString& icon, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap& notificationHints, int expiry)
    {
        notification = {app, icon, summary, body, QString::number(expiry)};
        hints = notificationHints;
        return 1;
    }
};

const QString ARCHIVE = QStringLiteral("/home/anna/Schreib tisch/Bericht \u00fc/Telvarin_03_07_2011__02_05_PM.zip");
const QString FOLDER = QStringLiteral("/home/anna/Schreib tisch/Bericht \u00fc");

// Whether the session showed ARCHIVE, and the folders it gave the desktop's opener.
std::pair<std::optional<bool>, QStringList> show(const QDBusConnection& bus, bool openerWorks)
{
    std::pair<std::optional<bool>, QStringList> outcome;
    FreedesktopSession session(bus, [&](const QString& folder) {
        outcome.second.append(folder);
        return openerWorks;
    });
    session.showFileInFolder(ARCHIVE, [&](bool shown) { outcome.first = shown; });
    static_cast<void>(QTest::qWaitFor([&] { return outcome.first.has_value(); }, 15000));
    return outcome;
}

} // namespace

TEST(DesktopSession, ShowsTheArchiveInTheFileManagerElseItsFolderAndNotifiesWhereAServiceAnswers)
{
    PrivateBus bus;
    QDBusConnection client = bus.connect(QStringLiteral("client"));
    ASSERT_TRUE(client.isConnected()) << "dbus-daemon did not start";

    // No file manager on the bus, then no bus at all: the desktop's opener.
    using Outcome = std::pair<std::optional<bool>, QStringList>;
    EXPECT_EQ(show(client, true), Outcome(true, {FOLDER}));
    EXPECT_EQ(show(client, false), Outcome(false, {FOLDER}));
    EXPECT_EQ(show(QDBusConnection(QStringLiteral("none")), false), Outcome(false, {FOLDER}));

    StandIn standIn;
    QDBusConnection service = bus.connect(QStringLiteral("service"));
    for (const char* name : {"FileManager1", "Notifications"}) {
        const QString interface = QStringLiteral("org.freedesktop.") + QLatin1String(name);
        ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/") + QLatin1String(name), interface, &standIn,
                                           QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(service.registerService(interface));
    }

    EXPECT_EQ(show(client, false), Outcome(true, {}));
    EXPECT_EQ(standIn.shownUris, QStringList{QStringLiteral("file:///home/anna/Schreib%20tisch/Bericht%20%C3%BC/"
                                                            "Telvarin_03_07_2011__02_05_PM.zip")});

    FreedesktopSession(client).notify(QStringLiteral("Report placed"), QStringLiteral("A report has been placed"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !standIn.notification.isEmpty(); }, 10000));
    const QString id = QString::fromLatin1(APPLICATION_ID);
    EXPECT_EQ(standIn.notification, (QStringList{QGuiApplication::applicationDisplayName(), id, "Report placed",
                                                 "A report has been placed", "-1"}));
    EXPECT_EQ(standIn.hints.value(QStringLiteral("desktop-entry")).toString(), id);
}

#include "DesktopSessionTest.moc"
