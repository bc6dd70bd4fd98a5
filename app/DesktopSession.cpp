#include "app/DesktopSession.h"

#include "app/ApplicationIdentity.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>
#include <QVariantMap>

#include <utility>

namespace {

// A file manager that is started by the call may take a few seconds; one
// that takes longer than this gets the folder opened by other means.
constexpr int FILE_MANAGER_TIMEOUT_MS = 10000;
constexpr int NOTIFICATION_TIMEOUT_MS = 5000;

// The notification's own time on screen: the server's choice.
constexpr int SERVER_DEFAULT_EXPIRY = -1;

} // namespace

bool FreedesktopSession::openWithDesktopOpener(const QString& folder)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

FreedesktopSession::FreedesktopSession(QDBusConnection bus, FolderOpener openFolder)
    : bus_(std::move(bus)), openFolder_(std::move(openFolder)), mail_(bus_)
{
}

void FreedesktopSession::showFileInFolder(const QString& file, ShowDone done)
{
    const QString folder = QFileInfo(file).absolutePath();
    auto openFolderInstead = [this, folder, done] { done(openFolder_(folder)); };
    if (!bus_.isConnected()) {
        openFolderInstead();
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    const QStringList uris{QString::fromLatin1(QUrl::fromLocalFile(file).toEncoded())};
    // No startup id: the file manager's window takes the focus as any new window does.
    call << uris << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, FILE_MANAGER_TIMEOUT_MS), &pendingCalls_);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &pendingCalls_,
                     [watcher, done, openFolderInstead] {
                         watcher->deleteLater();
                         if (watcher->isError())
                             openFolderInstead();
                         else
                             done(true);
                     });
}

void FreedesktopSession::notify(const QString& summary, const QString& body)
{
    if (!bus_.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // The menu entry lets the server show the tool's name and icon.
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QString::fromLatin1(APPLICATION_ID)}};
    call << QGuiApplication::applicationDisplayName() << 0u << QString::fromLatin1(APPLICATION_ID) << summary
         << body << QStringList() << hints << SERVER_DEFAULT_EXPIRY;
    // Nobody waits for the answer: without a notification service the
    // message box still says how the run ended.
    bus_.asyncCall(call, NOTIFICATION_TIMEOUT_MS);
}

void FreedesktopSession::composeEmail(const SupportMail& mail, EmailComposer::Done done)
{
    mail_.compose(mail, std::move(done));
}
