#pragma once
// What the window asks of the desktop session around it: showing the placed
// report in the file manager, telling the user of an outcome they may not
// be looking at, and mailing the report.

#include "app/EmailComposer.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>

class DesktopSession {
public:
    virtual ~DesktopSession() = default;

    // Shows `file` to the user, selected in its folder where the file
    // manager can, else the folder alone. `done` hears on the GUI thread,
    // possibly later, whether anything showed it.
    using ShowDone = std::function<void(bool shown)>;
    virtual void showFileInFolder(const QString& file, ShowDone done) = 0;

    // A desktop notification; nothing when the session offers none.
    virtual void notify(const QString& summary, const QString& body) = 0;

    // A new mail in the user's mail program with the report attached.
    virtual void composeEmail(const SupportMail& mail, EmailComposer::Done done) = 0;
};

// The freedesktop.org session: the file manager's ShowItems and the
// notification service over D-Bus, and the desktop's opener for folders
// where no file manager answers.
class FreedesktopSession final : public DesktopSession {
public:
    // Opens a folder some other way; false when that failed.
    using FolderOpener = std::function<bool(const QString& folder)>;
    static bool openWithDesktopOpener(const QString& folder);

    explicit FreedesktopSession(QDBusConnection bus = QDBusConnection::sessionBus(),
                                FolderOpener openFolder = openWithDesktopOpener);

    void showFileInFolder(const QString& file, ShowDone done) override;
    void notify(const QString& summary, const QString& body) override;
    void composeEmail(const SupportMail& mail, EmailComposer::Done done) override;

private:
    QDBusConnection bus_;
    FolderOpener openFolder_;
    EmailComposer mail_;
    // Owns the calls still waiting for their answer: they end with the session.
    QObject pendingCalls_;
};
