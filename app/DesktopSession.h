#pragma once
// What the window asks of the desktop session around it: showing a report
// in the file manager, telling the user of a run they may not be looking
// at, and mailing a report.

#include "app/EmailComposer.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A desktop notification and what the user can do from it; the actions run
// on the GUI thread.
struct Notification {
    struct Action {
        QString label;
        std::function<void()> run;
    };
    QString summary;
    // Plain text.
    QString body;
    // Clicking the notification itself.
    std::optional<Action> byDefault;
    // Buttons, where the notification service shows them.
    std::vector<Action> actions;
};

class DesktopSession {
public:
    virtual ~DesktopSession() = default;

    // Shows `file` (its path as the system names it, bytes that need not be
    // UTF-8) to the user, selected in its folder where the file manager
    // can, else the folder alone. `done` hears on the GUI thread, possibly
    // later, whether anything showed it.
    using ShowDone = std::function<void(bool shown)>;
    virtual void showFileInFolder(const std::string& file, ShowDone done) = 0;

    // Nothing when the session offers no notifications.
    virtual void notify(Notification notification) = 0;

    // A new mail in the user's mail program with the report attached.
    virtual void composeEmail(const SupportMail& mail, EmailComposer::Done done) = 0;
};

// The file: URI of a path as the system names it, made from its bytes.
QString fileUri(const std::string& path);

// The freedesktop.org session: the file manager's ShowItems and the
// notification service over D-Bus, and the desktop's opener for folders
// where no file manager answers.
class FreedesktopSession final : public QObject, public DesktopSession {
    Q_OBJECT

public:
    // Opens a folder (its path as the system names it) some other way;
    // false when that failed.
    using FolderOpener = std::function<bool(const std::string& folder)>;
    static bool openWithDesktopOpener(const std::string& folder);

    explicit FreedesktopSession(QDBusConnection bus = QDBusConnection::sessionBus(),
                                FolderOpener openFolder = openWithDesktopOpener);

    void showFileInFolder(const std::string& file, ShowDone done) override;
    void notify(Notification notification) override;
    void composeEmail(const SupportMail& mail, EmailComposer::Done done) override;

private slots:
    void runAction(uint id, const QString& key);
    void takeActivationToken(uint id, const QString& token);
    void forget(uint id);

private:
    void send(Notification notification, const QStringList& capabilities);

    QDBusConnection bus_;
    FolderOpener openFolder_;
    EmailComposer mail_;
    // Owns the calls still waiting for their answer: they end with the session.
    QObject pendingCalls_;
    // The notifications still on screen whose actions the user may invoke.
    std::map<uint, Notification> shown_;
    // What the server handed over just before an action, for the window
    // the action raises (Wayland lets only a window with one take the focus).
    std::map<uint, QString> activationTokens_;
};
