#pragma once
// Hands a mail with the report attached to the user's mail program: through
// the desktop portal's Email interface, which works in sandboxes and with
// every desktop's mail program and takes the attachment as an open
// descriptor, else through xdg-email. The mail is only composed: the user
// reads it and sends it.

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>
#include <string>

struct SupportMail {
    QString address;
    QString subject;
    QString body;
    // The report, as the file system names it: its bytes, never a shown form.
    std::string attachment;
    // The window the portal's dialogs belong to ("x11:<id>"); empty for none.
    QString parentWindow;
};

enum class MailOutcome {
    composing,      // a mail program shows the mail, with the report attached
    cancelled,      // the user closed the desktop's choice of mail program
    noMailProgram,  // neither the portal nor xdg-email could hand the mail over
    attachmentGone, // the report is no longer a file where it was placed
};

class EmailComposer {
public:
    using Done = std::function<void(MailOutcome)>;

    explicit EmailComposer(QDBusConnection bus);
    ~EmailComposer();
    EmailComposer(const EmailComposer&) = delete;
    EmailComposer& operator=(const EmailComposer&) = delete;

    // `done` hears once, on the GUI thread, possibly later.
    void compose(const SupportMail& mail, Done done);

private:
    void composeWithXdgEmail(const SupportMail& mail, Done done);

    QDBusConnection bus_;
    // Owns what waits for an answer: it ends with the composer.
    QObject pending_;
};
