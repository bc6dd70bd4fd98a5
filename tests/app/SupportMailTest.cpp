// Sending a report to support from the window, offscreen: the list of what
// the report holds, the desktop portal's Email interface (a stand-in on a
// private bus), xdg-email where there is no portal (a stand-in on PATH), and
// the address and the path where there is neither.
#include "app/DesktopSession.h"
#include "app/DisplayText.h"
#include "app/ElidingLabel.h"
#include "app/PlacedReportRow.h"
#include "app/ReportContents.h"
#include "tests/app/PrivateBus.h"
#include "tests/app/WindowHarness.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

using namespace app_testing;
using namespace testing_support;

namespace {

const char* const ADDRESS = "help@quorvel.example";
const char* const ARCHIVE_NAME = "Telvarin_03_07_2011__02_05_PM.zip";

// The portal's Email interface: takes the mail, reads every attached
// descriptor, and answers on the request's object as the portal does.
class PortalStandIn : public QObject {
    Q_OBJECT

public:
    explicit PortalStandIn(QDBusConnection bus) : bus_(std::move(bus)) {}
    QVariantMap options;
    std::vector<std::string> attachments;

public slots:
    QDBusObjectPath ComposeEmail(const QString&, const QVariantMap& mailOptions, const QDBusMessage& call)
    {
        options = mailOptions;
        QList<QDBusUnixFileDescriptor> descriptors;
        mailOptions.value(QStringLiteral("attachment_fds")).value<QDBusArgument>() >> descriptors;
        for (const QDBusUnixFileDescriptor& descriptor : descriptors) {
            std::string bytes;
            char buffer[4096];
            for (ssize_t count; (count = pread(descriptor.fileDescriptor(), buffer, sizeof buffer,
                                               static_cast<off_t>(bytes.size()))) > 0;)
                bytes.append(buffer, static_cast<std::size_t>(count));
            attachments.push_back(bytes);
        }
        QString sender = call.service().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString request = QStringLiteral("/org/freedesktop/portal/desktop/request/") + sender + QLatin1Char('/') +
                                mailOptions.value(QStringLiteral("handle_token")).toString();
        QTimer::singleShot(0, this, [this, request] {
            QDBusMessage response = QDBusMessage::createSignal(
                request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
            response << 0u << QVariantMap();
            bus_.send(response);
        });
        return QDBusObjectPath(request);
    }

private:
    QDBusConnection bus_;
};

// PATH holds only a folder of the test's own for the guard's lifetime.
class OwnPath {
public:
    explicit OwnPath(const std::string& folder) : previous_(std::getenv("PATH") ? std::getenv("PATH") : "")
    {
        setenv("PATH", folder.c_str(), 1);
    }
    ~OwnPath() { setenv("PATH", previous_.c_str(), 1); }

private:
    std::string previous_;
};

// A placed report's window whose desktop is a private bus.
struct MailingWindow {
    MailingWindow()
        : client(bus.connect(QStringLiteral("client"))),
          session(client, [](const std::string&) { return true; }),
          installed(machine.install(place.servicesFor(machine))),
          window(requestFor(place.dataXml), &session)
    {
        qDBusRegisterMetaType<QList<QDBusUnixFileDescriptor>>();
        machine.clock = FakeClock(utcTime(2011, 3, 7, 14, 5), 0);
        window.setSupportContactSource([this] { return contact; });
        showWindow(window);
    }
    std::string archive() const { return place.desktop() + "/" + ARCHIVE_NAME; }
    PlacedReportRow& row() { return *window.placedReport(); }
    // Presses Email to Support and waits for the line that says how it went.
    QString mail()
    {
        window.placedReport()->actionNote()->clear();
        QTest::mouseClick(row().emailButton(), Qt::LeftButton);
        const bool answered = QTest::qWaitFor(
            [&] { return row().emailButton()->isEnabled() && window.placedReport()->actionNote()->isVisible(); },
            10000);
        return answered ? window.placedReport()->actionNote()->text() : QString();
    }

    PrivateBus bus;
    QDBusConnection client;
    FreedesktopSession session;
    FakeMachine machine;
    ReportPlace place;
    platform::ScopedServices installed;
    SupportContactLookup contact{SupportContact{QString::fromLatin1(ADDRESS), QStringLiteral("Report %1")}, {}};
    AppDelegate window;
};

} // namespace

TEST(SupportMail, TheWindowListsThePlacedReportAndMailsItThroughThePortalElseXdgEmailElseSaysWhereItIs)
{
    MailingWindow mailing;
    ASSERT_TRUE(mailing.client.isConnected()) << "dbus-daemon did not start";
    pressButton(mailing.window);
    ASSERT_TRUE(mailing.row().isOffering());

    // What the report holds, as an independent reader finds it.
    QTableView* list = mailing.row().contents()->list();
    EXPECT_FALSE(list->isVisible()) << "closed until asked for";
    QTest::mouseClick(mailing.row().contents()->disclosure(), Qt::LeftButton);
    EXPECT_TRUE(list->isVisible());
    const std::vector<ZipEntryInfo> entries = readZipEntries(mailing.archive());
    ASSERT_EQ(list->model()->rowCount(), static_cast<int>(entries.size()));
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        const ZipEntryInfo& entry = entries[static_cast<std::size_t>(row)];
        EXPECT_EQ(list->model()->index(row, 0).data().toString().toStdString(), entry.name);
        EXPECT_TRUE(list->model()
                        ->index(row, 1)
                        .data(Qt::AccessibleTextRole)
                        .toString()
                        .contains(QLocale().toString(static_cast<qulonglong>(entry.size))))
            << entry.name;
    }

    // The portal takes the mail with the report as its one descriptor.
    QDBusConnection service = mailing.bus.connect(QStringLiteral("portal"));
    PortalStandIn portal(service);
    ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"),
                                       QStringLiteral("org.freedesktop.portal.Email"), &portal,
                                       QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    EXPECT_TRUE(mailing.mail().contains(QString::fromLatin1(ADDRESS)));
    EXPECT_EQ(portal.options.value(QStringLiteral("address")).toString(), QString::fromLatin1(ADDRESS));
    EXPECT_EQ(portal.options.value(QStringLiteral("subject")).toString(),
              QStringLiteral("Report ") + QString::fromLatin1(ARCHIVE_NAME));
    EXPECT_TRUE(portal.options.value(QStringLiteral("body")).toString().contains(QString::fromLatin1(ARCHIVE_NAME)));
    ASSERT_EQ(portal.attachments.size(), 1u);
    EXPECT_EQ(portal.attachments[0], readWholeFile(mailing.archive()));
    service.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));

    // Without a portal, xdg-email, with the report's absolute path.
    TempDir programs;
    const std::string recorded = programs / "arguments";
    writeFile(programs / "xdg-email", "#!/bin/sh\nfor a; do printf '%s\\0' \"$a\"; done > '" + recorded + "'\n");
    chmod((programs / "xdg-email").c_str(), 0755);
    {
        OwnPath path(programs.path());
        EXPECT_TRUE(mailing.mail().contains(QString::fromLatin1(ADDRESS)));
    }
    const std::string arguments = readWholeFile(recorded);
    EXPECT_NE(arguments.find(std::string("--attach") + '\0' + mailing.archive() + '\0'), std::string::npos);
    EXPECT_EQ(arguments.substr(arguments.size() - sizeof "help@quorvel.example"), std::string(ADDRESS) + '\0');

    // With neither, the address and the path to attach it by hand.
    std::remove((programs / "xdg-email").c_str());
    {
        OwnPath path(programs.path());
        const QString byHand = mailing.mail();
        EXPECT_TRUE(byHand.contains(QString::fromLatin1(ADDRESS))) << byHand.toStdString();
        EXPECT_TRUE(byHand.contains(displayText::inSentence(mailing.archive()))) << byHand.toStdString();
    }

    // No address, no button; a faulty file is a line of the run's log.
    mailing.contact = {std::nullopt, "Could not read support.conf: line 2 gives Email a second time"};
    pressButton(mailing.window);
    ASSERT_TRUE(mailing.row().isOffering());
    EXPECT_FALSE(mailing.row().emailButton()->isVisible());
    EXPECT_NE(readZipEntry(mailing.archive(), "reportData/reportGeneratorLog.log").find(mailing.contact.fault),
              std::string::npos);
}

TEST(SupportMail, APartialReportIsMailedAsPartialWithTheSentenceItEndedWith)
{
    FakeMachine machine;
    ReportPlace place;
    auto installed = machine.install(place.servicesFor(machine));
    machine.clock = FakeClock(utcTime(2011, 3, 7, 14, 5), 0);
    RecordingDesktopSession session;
    AppDelegate window(requestFor(place.dataXml), &session);
    window.setSupportContactSource([] {
        return SupportContactLookup{SupportContact{QString::fromLatin1(ADDRESS), QStringLiteral("Report %1")}, {}};
    });
    showWindow(window);
    std::remove((place.root + "/Library/Printers/Quorvel").c_str());
    pressButton(window);
    ASSERT_EQ(window.placedReport()->kind(), PlacedReportRow::Kind::partialReport);

    QTest::mouseClick(window.placedReport()->emailButton(), Qt::LeftButton);
    ASSERT_EQ(session.mails.size(), 1u);
    const SupportMail& mail = session.mails[0];
    EXPECT_EQ(mail.subject, QStringLiteral("Report %1 (partial report: Could not find driver directory)")
                                .arg(QString::fromLatin1(ARCHIVE_NAME)));
    EXPECT_TRUE(mail.body.contains(QStringLiteral("partial")) &&
                mail.body.contains(QStringLiteral("“Could not find driver directory”")))
        << mail.body.toStdString();
    EXPECT_EQ(mail.attachment, place.desktop() + "/" + ARCHIVE_NAME);
}

#include "SupportMailTest.moc"
