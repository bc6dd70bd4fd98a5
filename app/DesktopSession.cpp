#include "app/DesktopSession.h"

#include "app/ApplicationIdentity.h"
#include "base/AbsolutePath.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
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

// A run notifies a few times at most; older notifications' actions are
// forgotten beyond this.
constexpr std::size_t REMEMBERED_NOTIFICATIONS = 8;

const char* const NOTIFICATIONS = "org.freedesktop.Notifications";
const char* const NOTIFICATIONS_PATH = "/org/freedesktop/Notifications";
const char* const DEFAULT_ACTION = "default";

QString actionKey(std::size_t index)
{
    return QStringLiteral("action-%1").arg(index);
}

} // namespace

QString fileUri(const std::string& path)
{
    // Percent-encoded byte for byte: a name that is not UTF-8 still names
    // the same file.
    return QStringLiteral("file://") + QString::fromLatin1(QByteArray::fromStdString(path).toPercentEncoding("/"));
}

bool FreedesktopSession::openWithDesktopOpener(const std::string& folder)
{
    return QDesktopServices::openUrl(QUrl::fromEncoded(fileUri(folder).toLatin1()));
}

FreedesktopSession::FreedesktopSession(QDBusConnection bus, FolderOpener openFolder)
    : bus_(std::move(bus)),
      openFolder_(std::move(openFolder)),
      mail_(bus_)
{
    if (!bus_.isConnected())
        return;
    const QString service = QString::fromLatin1(NOTIFICATIONS);
    const QString path = QString::fromLatin1(NOTIFICATIONS_PATH);
    bus_.connect(service, path, service, QStringLiteral("ActionInvoked"), this, SLOT(runAction(uint, QString)));
    bus_.connect(service, path, service, QStringLiteral("ActivationToken"), this,
                 SLOT(takeActivationToken(uint, QString)));
    bus_.connect(service, path, service, QStringLiteral("NotificationClosed"), this, SLOT(forget(uint)));
}

void FreedesktopSession::showFileInFolder(const std::string& file, ShowDone done)
{
    auto openFolderInstead = [this, folder = folderOf(file), done] { done(openFolder_(folder)); };
    if (!bus_.isConnected()) {
        openFolderInstead();
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    // No startup id: the file manager's window takes the focus as any new window does.
    call << QStringList{fileUri(file)} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, FILE_MANAGER_TIMEOUT_MS), &pendingCalls_);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &pendingCalls_, [watcher, done, openFolderInstead] {
        watcher->deleteLater();
        if (watcher->isError())
            openFolderInstead();
        else
            done(true);
    });
}

void FreedesktopSession::notify(Notification notification)
{
    if (!bus_.isConnected())
        return;
    // Whether the server shows buttons and reads markup decides what is sent.
    const QString service = QString::fromLatin1(NOTIFICATIONS);
    const QDBusMessage ask = QDBusMessage::createMethodCall(service, QString::fromLatin1(NOTIFICATIONS_PATH), service,
                                                            QStringLiteral("GetCapabilities"));
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(ask, NOTIFICATION_TIMEOUT_MS), &pendingCalls_);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &pendingCalls_,
                     [this, watcher, notification = std::move(notification)]() mutable {
                         watcher->deleteLater();
                         const QDBusPendingReply<QStringList> capabilities = *watcher;
                         // Without a notification service the window still says how the run ended.
                         if (!capabilities.isError())
                             send(std::move(notification), capabilities.value());
                     });
}

void FreedesktopSession::send(Notification notification, const QStringList& capabilities)
{
    QStringList actions;
    // Clicking a notification is its default action, also where no buttons show.
    if (notification.byDefault)
        actions << QString::fromLatin1(DEFAULT_ACTION) << notification.byDefault->label;
    if (capabilities.contains(QStringLiteral("actions"))) {
        for (std::size_t i = 0; i < notification.actions.size(); ++i)
            actions << actionKey(i) << notification.actions[i].label;
    } else {
        notification.actions.clear();
    }
    // A server that reads markup would take a name's "<" and "&" for it.
    const QString body =
        capabilities.contains(QStringLiteral("body-markup")) ? notification.body.toHtmlEscaped() : notification.body;
    const QString service = QString::fromLatin1(NOTIFICATIONS);
    const QString path = QString::fromLatin1(NOTIFICATIONS_PATH);
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, service, QStringLiteral("Notify"));
    // The menu entry lets the server show the tool's name and icon.
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QString::fromLatin1(APPLICATION_ID)}};
    call << QGuiApplication::applicationDisplayName() << 0u << QString::fromLatin1(APPLICATION_ID)
         << notification.summary << body << actions << hints << SERVER_DEFAULT_EXPIRY;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, NOTIFICATION_TIMEOUT_MS), &pendingCalls_);
    if (actions.isEmpty()) {
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, &QObject::deleteLater);
        return;
    }
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &pendingCalls_,
                     [this, watcher, notification = std::move(notification)]() mutable {
                         watcher->deleteLater();
                         const QDBusPendingReply<uint> id = *watcher;
                         if (id.isError())
                             return;
                         if (shown_.size() >= REMEMBERED_NOTIFICATIONS)
                             shown_.erase(shown_.begin());
                         shown_[id.value()] = std::move(notification);
                     });
}

void FreedesktopSession::runAction(uint id, const QString& key)
{
    const auto found = shown_.find(id);
    if (found == shown_.end())
        return;
    // Copied: the action may lead to another notification.
    const Notification notification = found->second;
    // Qt's Wayland window takes the token from the environment when it is
    // next activated, and clears it. The report's thread, which reads the
    // environment, has ended or waits on a box whenever a notification is
    // acted on.
    if (const auto token = activationTokens_.find(id); token != activationTokens_.end()) {
        qputenv("XDG_ACTIVATION_TOKEN", token->second.toUtf8());
        activationTokens_.erase(token);
    }
    if (key == QLatin1String(DEFAULT_ACTION) && notification.byDefault) {
        notification.byDefault->run();
        return;
    }
    for (std::size_t i = 0; i < notification.actions.size(); ++i)
        if (key == actionKey(i))
            notification.actions[i].run();
}

void FreedesktopSession::takeActivationToken(uint id, const QString& token)
{
    if (shown_.count(id))
        activationTokens_[id] = token;
}

void FreedesktopSession::forget(uint id)
{
    shown_.erase(id);
    activationTokens_.erase(id);
}

void FreedesktopSession::composeEmail(const SupportMail& mail, EmailComposer::Done done)
{
    mail_.compose(mail, std::move(done));
}
