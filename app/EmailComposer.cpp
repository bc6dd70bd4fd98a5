#include "app/EmailComposer.h"

#include "platform/posix/FileDescriptor.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTimer>
#include <QVariantMap>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <utility>
#include <vector>

extern char** environ;

namespace {

const QString PORTAL_SERVICE = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PORTAL_PATH = QStringLiteral("/org/freedesktop/portal/desktop");
const QString EMAIL_INTERFACE = QStringLiteral("org.freedesktop.portal.Email");
const QString REQUEST_INTERFACE = QStringLiteral("org.freedesktop.portal.Request");
// The portal answers the call at once; the mail program comes later, by signal.
constexpr int PORTAL_CALL_TIMEOUT_MS = 10000;
// The portal's answers on its Request object.
constexpr uint PORTAL_SUCCESS = 0;
constexpr uint PORTAL_CANCELLED = 1;

// How often a started xdg-email is asked whether it has ended, and how long
// it may run before it counts as having opened the mail program: with some
// mail programs it waits until the user closes theirs.
constexpr int CHILD_POLL_MS = 50;
constexpr int MAIL_PROGRAM_STARTED_MS = 3000;

// The object path the portal gives the request for `token`, so that its
// answer is listened for before the call can bring it.
QString requestPath(const QDBusConnection& bus, const QString& token)
{
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return PORTAL_PATH + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

// Starts `arguments` with exactly their bytes; 0 when it could not start.
pid_t spawnProgram(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    // The child starts with no signal blocked or ignored, whatever this
    // process holds.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t child = 0;
    const int failed = posix_spawnp(&child, argv.front(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    return failed ? 0 : child;
}

} // namespace

// One ComposeEmail call waiting for the portal's answer.
class PortalRequest : public QObject {
    Q_OBJECT

public:
    PortalRequest(QObject* owner, std::function<void(uint)> answered) : QObject(owner), answered_(std::move(answered))
    {
    }

public slots:
    void response(uint answer, const QVariantMap&)
    {
        if (std::exchange(done_, true))
            return;
        answered_(answer);
        deleteLater();
    }

private:
    std::function<void(uint)> answered_;
    bool done_ = false;
};

// A started program, reaped when it ends.
class ChildWatch : public QObject {
public:
    ChildWatch(QObject* owner, pid_t child, std::function<void(bool)> done)
        : QObject(owner),
          child_(child),
          done_(std::move(done))
    {
        connect(&poll_, &QTimer::timeout, this, &ChildWatch::check);
        poll_.start(CHILD_POLL_MS);
        started_.start();
    }

private:
    void check()
    {
        int status = 0;
        const pid_t ended = waitpid(child_, &status, WNOHANG);
        if (ended == 0) {
            if (started_.elapsed() >= MAIL_PROGRAM_STARTED_MS)
                tell(true);
            return;
        }
        tell(ended == child_ && WIFEXITED(status) && WEXITSTATUS(status) == 0);
        poll_.stop();
        deleteLater();
    }
    void tell(bool tookTheMail)
    {
        if (done_)
            std::exchange(done_, nullptr)(tookTheMail);
    }

    pid_t child_;
    std::function<void(bool)> done_;
    QTimer poll_;
    QElapsedTimer started_;
};

EmailComposer::EmailComposer(QDBusConnection bus) : bus_(std::move(bus))
{
    qDBusRegisterMetaType<QList<QDBusUnixFileDescriptor>>();
}

EmailComposer::~EmailComposer() = default;

void EmailComposer::compose(const SupportMail& mail, Done done)
{
    // The report is handed over as it is now: a link put in its place is
    // not followed, and a file moved away is said to be gone.
    platform::FileDescriptor report(
        ::open(mail.attachment.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK));
    struct stat status {};
    if (!report || fstat(report.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        done(MailOutcome::attachmentGone);
        return;
    }
    if (!bus_.isConnected() || !(bus_.connectionCapabilities() & QDBusConnection::UnixFileDescriptorPassing)) {
        composeWithXdgEmail(mail, std::move(done));
        return;
    }
    const QString token = QStringLiteral("telvarin%1").arg(QRandomGenerator::global()->generate());
    auto* request = new PortalRequest(&pending_, [this, mail, done](uint answer) {
        if (answer == PORTAL_SUCCESS)
            done(MailOutcome::composing);
        else if (answer == PORTAL_CANCELLED)
            done(MailOutcome::cancelled);
        else
            composeWithXdgEmail(mail, done);
    });
    const QString expectedPath = requestPath(bus_, token);
    bus_.connect(PORTAL_SERVICE, expectedPath, REQUEST_INTERFACE, QStringLiteral("Response"), request,
                 SLOT(response(uint, QVariantMap)));

    QDBusMessage call =
        QDBusMessage::createMethodCall(PORTAL_SERVICE, PORTAL_PATH, EMAIL_INTERFACE, QStringLiteral("ComposeEmail"));
    const QVariantMap options{
        {QStringLiteral("handle_token"), token},
        {QStringLiteral("address"), mail.address},
        {QStringLiteral("subject"), mail.subject},
        {QStringLiteral("body"), mail.body},
        {QStringLiteral("attachment_fds"),
         QVariant::fromValue(QList<QDBusUnixFileDescriptor>{QDBusUnixFileDescriptor(report.get())})},
    };
    call << mail.parentWindow << options;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, PORTAL_CALL_TIMEOUT_MS), request);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, request,
                     [this, watcher, request, expectedPath, mail, done] {
                         watcher->deleteLater();
                         const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
                         if (reply.isError()) {
                             // No portal, or one without the Email interface.
                             bus_.disconnect(PORTAL_SERVICE, expectedPath, REQUEST_INTERFACE,
                                             QStringLiteral("Response"), request, SLOT(response(uint, QVariantMap)));
                             request->deleteLater();
                             composeWithXdgEmail(mail, done);
                             return;
                         }
                         // A portal older than handle tokens answers on a path of its own.
                         const QString path = reply.value().path();
                         if (path != expectedPath)
                             bus_.connect(PORTAL_SERVICE, path, REQUEST_INTERFACE, QStringLiteral("Response"), request,
                                          SLOT(response(uint, QVariantMap)));
                     });
}

void EmailComposer::composeWithXdgEmail(const SupportMail& mail, Done done)
{
    const std::vector<std::string> arguments{
        "xdg-email", "--subject",     mail.subject.toStdString(), "--body", mail.body.toStdString(),
        "--attach",  mail.attachment, mail.address.toStdString()};
    const pid_t child = spawnProgram(arguments);
    if (child == 0) {
        done(MailOutcome::noMailProgram);
        return;
    }
    new ChildWatch(&pending_, child, [done](bool tookTheMail) {
        done(tookTheMail ? MailOutcome::composing : MailOutcome::noMailProgram);
    });
}

#include "EmailComposer.moc"
