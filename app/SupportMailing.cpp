#include "app/SupportMailing.h"

#include "app/DesktopSession.h"
#include "app/DisplayText.h"
#include "base/AbsolutePath.h"

#include <QFile>
#include <QGuiApplication>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <utility>

namespace {

QString mailFileNameOf(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(fileNameOf(path)));
}

// The portal places its dialogs over the window it is told of; on X11 by
// its id. Elsewhere it goes without.
QString portalWindowOf(const QWidget* widget)
{
    if (!widget || QGuiApplication::platformName() != QLatin1String("xcb"))
        return {};
    return QStringLiteral("x11:") + QString::number(widget->window()->winId(), 16);
}

} // namespace

SupportMailing::SupportMailing(QWidget* parent, Note note, std::function<void()> gone)
    : QObject(parent),
      button_(new QPushButton(parent)),
      note_(std::move(note)),
      gone_(std::move(gone))
{
    //: Beside the report's file name: opens a new mail to the printer maker's support
    //: with the report attached. The ampersand marks the Alt key's letter.
    button_->setText(tr("&Email to Support…"));
    button_->setAutoDefault(true);
    button_->hide();
    connect(button_, &QPushButton::clicked, this, &SupportMailing::send);
}

void SupportMailing::offer(Offer offer)
{
    offer_ = std::move(offer);
    button_->setEnabled(true);
    button_->setVisible(contact_.has_value() && session_);
}

void SupportMailing::withdraw()
{
    offer_.reset();
    button_->hide();
}

SupportMail SupportMailing::mail(const QWidget* window) const
{
    SupportMail mail;
    if (!offer_ || !contact_)
        return mail;
    const QString name = mailFileNameOf(offer_->archive);
    const QString version = QStringLiteral(TELVARIN_VERSION);
    mail.address = contact_->address;
    mail.subject = contact_->subjectFor(name);
    mail.attachment = offer_->archive;
    mail.parentWindow = portalWindowOf(window);
    if (!offer_->partial) {
        //: The text of the mail to support; the user adds to it before sending. %1 is the
        //: report's file name, %2 the tool's version.
        mail.body = tr("Hello,\n\nattached is the Telvarin Generator report “%1”, made with version %2.\n\n"
                       "What happened:\n\n")
                        .arg(name, version);
        return mail;
    }
    // Support knows the sentence in English, whatever the window's language.
    const QString sentence = QString::fromStdString(offer_->failureSentence);
    //: The subject of the mail to support when the report is partial: %1 is the subject
    //: the maker chose, %2 the message the failed run ended with (in English, as support knows it).
    mail.subject = tr("%1 (partial report: %2)").arg(mail.subject, sentence);
    //: The text of the mail to support when the report is partial; the user adds to it
    //: before sending. %1 is the report's file name, %2 the tool's version, %3 the message
    //: the failed run ended with (in English, as support knows it).
    mail.body = tr("Hello,\n\nattached is a partial Telvarin Generator report “%1”, made with version %2. "
                   "The report ended with the message “%3”.\n\nWhat happened:\n\n")
                    .arg(name, version, sentence);
    return mail;
}

void SupportMailing::send()
{
    if (!offer_ || !contact_ || !session_)
        return;
    button_->setEnabled(false);
    //: Under the report's file name while the desktop opens the user's mail program.
    note_(tr("Opening your mail program…"));
    const std::string archive = offer_->archive;
    const QString address = contact_->address;
    QPointer<SupportMailing> self(this);
    session_->composeEmail(mail(qobject_cast<const QWidget*>(parent())), [self, archive, address](MailOutcome outcome) {
        // The answer may come after the window, or the offer, is gone.
        if (!self || !self->offer_ || self->offer_->archive != archive)
            return;
        self->button_->setEnabled(true);
        switch (outcome) {
        case MailOutcome::composing:
            //: Under the report's file name once the user's mail program shows the new mail.
            //: %1 is the support address.
            self->note_(tr("Your mail program shows a new message to %1 with the report attached. "
                           "Check it, then send it.")
                            .arg(displayText::inSentence(address)));
            break;
        case MailOutcome::cancelled:
            self->note_({});
            break;
        case MailOutcome::noMailProgram:
            //: Under the report's file name when no mail program could be opened. %1 is the
            //: support address, %2 the report's whole path.
            self->note_(tr("No mail program could be opened. Send the report to %1 yourself, "
                           "with the file “%2” attached.")
                            .arg(displayText::inSentence(address), displayText::inSentence(archive)));
            break;
        case MailOutcome::attachmentGone:
            self->gone_();
            break;
        }
    });
}
