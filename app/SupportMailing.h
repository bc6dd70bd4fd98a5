#pragma once
// "Email to Support...": a new mail in the user's mail program to the
// maker's support, with the report on offer attached, its subject and body
// saying what it is (and, for a partial report, how the run ended). Where no
// mail program can be opened, the address and the file's path are shown to
// attach it by hand.

#include "app/SupportContact.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class DesktopSession;
class QPushButton;
class QWidget;
struct SupportMail;

class SupportMailing : public QObject {
    Q_OBJECT

public:
    // The file on offer, as the run left it.
    struct Offer {
        std::string archive;
        // A failure kept what it had gathered; the failure's sentence as
        // support knows it.
        bool partial = false;
        std::string failureSentence;
    };
    // Shows a line under the file, taking the focus so that a screen reader
    // reads it; an empty text hides it.
    using Note = std::function<void(const QString& text)>;

    // The button is a widget of `parent`, which lays it out. `gone` says
    // that the file is no longer where the run left it.
    SupportMailing(QWidget* parent, Note note, std::function<void()> gone);

    // Where the mail goes; nothing offers no mail. Not owned.
    void setSession(DesktopSession* session) { session_ = session; }
    void setContact(std::optional<SupportContact> contact) { contact_ = std::move(contact); }

    // Shows the button for `offer` where there is an address to mail to.
    void offer(Offer offer);
    void withdraw();
    void send();

    QPushButton* button() const { return button_; }
    // The mail for the file on offer, for the window `window`.
    SupportMail mail(const QWidget* window) const;

private:
    QPushButton* button_;
    Note note_;
    std::function<void()> gone_;
    DesktopSession* session_ = nullptr;
    std::optional<SupportContact> contact_;
    std::optional<Offer> offer_;
};
