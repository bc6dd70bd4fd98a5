// The freedesktop.org session over a private D-Bus bus, with one stand-in
// for both the file manager and the notification service.
#include "app/DesktopSession.h"
#include "app/ApplicationIdentity.h"
#include "tests/app/PrivateBus.h"
#include "tests/doubles/TestFiles.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QTest>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <optional>

using app_testing::PrivateBus;

namespace {

class StandIn : public QObject {
    Q_OBJECT

public:
    QStringList shownUris;
    QStringList notification;
    QStringList actions;
    QVariantMap hints;
    QStringList capabilities;

public slots:
    void ShowItems(const QStringList& uris, const QString&) { shownUris += uris; }
    QStringList GetCapabilities() { return capabilities; }
    uint Notify(const QString& app, uint, const QString& icon, const QString& summary, const QString& body,
                const QStringList& notificationActions, const QVariantMap& notificationHints, int expiry)
    {
        notification = {app, icon, summary, body, QString::number(expiry)};
        actions = notificationActions;
        hints = notificationHints;
        return 7;
    }
};

// A folder name that is not UTF-8 ("\xff").
const std::string ARCHIVE = "/home/anna/Schreib tisch/Bericht \xc3\xbc\xff/Telvarin_03_07_2011__02_05_PM.zip";
const std::string FOLDER = "/home/anna/Schreib tisch/Bericht \xc3\xbc\xff";

// Whether the session showed ARCHIVE, and the folders it gave the desktop's opener.
std::pair<std::optional<bool>, std::vector<std::string>> show(const QDBusConnection& bus, bool openerWorks)
{
    std::pair<std::optional<bool>, std::vector<std::string>> outcome;
    FreedesktopSession session(bus, [&](const std::string& folder) {
        outcome.second.push_back(folder);
        return openerWorks;
    });
    session.showFileInFolder(ARCHIVE, [&](bool shown) { outcome.first = shown; });
    static_cast<void>(QTest::qWaitFor([&] { return outcome.first.has_value(); }, 15000));
    return outcome;
}

} // namespace

TEST(DesktopSession, ShowsTheArchiveInTheFileManagerElseItsFolderAndNotifiesWithActionsWhereAServiceAnswers)
{
    PrivateBus bus;
    QDBusConnection client = bus.connect(QStringLiteral("client"));
    ASSERT_TRUE(client.isConnected()) << "dbus-daemon did not start";

    // No file manager on the bus, then no bus at all: the desktop's opener.
    using Outcome = std::pair<std::optional<bool>, std::vector<std::string>>;
    EXPECT_EQ(show(client, true), Outcome(true, {FOLDER}));
    EXPECT_EQ(show(client, false), Outcome(false, {FOLDER}));
    EXPECT_EQ(show(QDBusConnection(QStringLiteral("none")), false), Outcome(false, {FOLDER}));

    StandIn standIn;
    QDBusConnection service = bus.connect(QStringLiteral("service"));
    for (const char* name : {"FileManager1", "Notifications"}) {
        const QString interface = QStringLiteral("org.freedesktop.") + QLatin1String(name);
        ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/") + QLatin1String(name), interface,
                                           &standIn, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(service.registerService(interface));
    }

    // The URI is made from the path's bytes: the file manager finds that very file.
    EXPECT_EQ(show(client, false), Outcome(true, {}));
    EXPECT_EQ(standIn.shownUris, QStringList{QStringLiteral("file:///home/anna/Schreib%20tisch/Bericht%20%C3%BC%FF/"
                                                            "Telvarin_03_07_2011__02_05_PM.zip")});

    const QString id = QString::fromLatin1(APPLICATION_ID);
    const struct {
        QStringList capabilities;
        QString body;
        QStringList actions;
    } servers[] = {
        {{}, QStringLiteral("“R&D <1>” placed"), {QStringLiteral("default"), QStringLiteral("Show")}},
        // Markup is escaped where the server reads it; buttons only where it shows them.
        {{QStringLiteral("body-markup"), QStringLiteral("actions")},
         QStringLiteral("“R&amp;D &lt;1&gt;” placed"),
         {QStringLiteral("default"), QStringLiteral("Show"), QStringLiteral("action-0"),
          QStringLiteral("Open Folder")}},
    };
    for (const auto& [capabilities, body, actions] : servers) {
        SCOPED_TRACE(capabilities.join(QLatin1Char(' ')).toStdString());
        standIn.capabilities = capabilities;
        standIn.notification.clear();
        QStringList ran;
        QByteArray token;
        FreedesktopSession session(client);
        session.notify({QStringLiteral("Report placed"),
                        QStringLiteral("“R&D <1>” placed"),
                        Notification::Action{QStringLiteral("Show"),
                                             [&] {
                                                 ran << QStringLiteral("default");
                                                 token = qgetenv("XDG_ACTIVATION_TOKEN");
                                             }},
                        {{QStringLiteral("Open Folder"), [&] { ran << QStringLiteral("open"); }}}});
        ASSERT_TRUE(QTest::qWaitFor([&] { return !standIn.notification.isEmpty(); }, 10000));
        EXPECT_EQ(standIn.notification,
                  (QStringList{QGuiApplication::applicationDisplayName(), id, "Report placed", body, "-1"}));
        EXPECT_EQ(standIn.hints.value(QStringLiteral("desktop-entry")).toString(), id);
        EXPECT_EQ(standIn.actions, actions);

        // The server says which action the user took, by the notification's id,
        // after the token that lets the window take the focus on Wayland.
        QDBusMessage activation = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                                             QStringLiteral("org.freedesktop.Notifications"),
                                                             QStringLiteral("ActivationToken"));
        activation << 7u << QStringLiteral("wayland-token");
        service.send(activation);
        for (const QString& key : {QStringLiteral("default"), QStringLiteral("action-0")}) {
            QDBusMessage invoked = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                                              QStringLiteral("org.freedesktop.Notifications"),
                                                              QStringLiteral("ActionInvoked"));
            invoked << 7u << key;
            service.send(invoked);
        }
        const QStringList expected = actions.contains(QStringLiteral("action-0"))
                                         ? QStringList{QStringLiteral("default"), QStringLiteral("open")}
                                         : QStringList{QStringLiteral("default")};
        EXPECT_TRUE(QTest::qWaitFor([&] { return ran == expected; }, 10000))
            << ran.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(token, "wayland-token");
        qunsetenv("XDG_ACTIVATION_TOKEN");
    }
}

#include "DesktopSessionTest.moc"
