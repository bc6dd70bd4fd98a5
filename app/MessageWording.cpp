#include "app/MessageWording.h"

#include "app/DisplayText.h"
#include "base/ErrorCodes.h"

#include <QCoreApplication>

namespace {

// The English of these sentences, "occured" included, is what support knows;
// their translations are spelled correctly.
QString translated(const char* source)
{
    return QCoreApplication::translate("MessageWording", source);
}

QString decimal(int code)
{
    // As the report writes it: signed, no grouping, whatever the language.
    return QString::number(code);
}

} // namespace

QString sentenceForErrorCode(int code)
{
    switch (code) {
    case ERROR_FILE_READ:
        //: Message box ending a run: a file the report lists exists but could not be read.
        //: The English "occured" is a fixed text; spell the translation correctly.
        return translated(QT_TRANSLATE_NOOP("MessageWording", "An error occured while trying to read a file"));
    case ERROR_DATA_XML_NOT_LOADED:
        //: Message box ending a run: the tool's own list of files to collect is missing or
        //: unreadable. Keep the file name data.xml as it is.
        return translated(QT_TRANSLATE_NOOP("MessageWording", "Could not find data.xml"));
    case ERROR_DATA_XML_DUPLICATE_SECTION:
    case ERROR_DATA_XML_MISSING_SECTION:
    case ERROR_PATH_WITHOUT_DOT:
    case ERROR_WILDCARD_NOT_LAST:
        //: Message box ending a run: the tool's own list of files to collect is faulty.
        //: Keep data.xml as it is; %1 is the error code (6 to 9).
        return translated(QT_TRANSLATE_NOOP("MessageWording", "Could not parse data.xml (error code %1)"))
            .arg(decimal(code));
    case ERROR_PRINTER_COMMUNICATION:
        //: Message box ending a run: talking to the printer over USB failed.
        //: The English "occured" is a fixed text; spell the translation correctly.
        return translated(
            QT_TRANSLATE_NOOP("MessageWording", "An error occured while trying to communicate with the printer"));
    case ERROR_DRIVER_DIRECTORY:
        //: Message box ending a run: the folder of the maker's printer drivers is missing.
        return translated(QT_TRANSLATE_NOOP("MessageWording", "Could not find driver directory"));
    case ERROR_CHECKSUM_WRITE:
        //: Message ending a run that was asked for a checksum file (SHA-256) beside the
        //: report, which could not be written.
        return translated(QT_TRANSLATE_NOOP("MessageWording", "Could not write the checksum file beside the report"));
    default:
        //: Message box ending a run with a failure that has no sentence of its own; %1 is
        //: its number, which support asks for. The English "occured" is a fixed text; spell
        //: the translation correctly.
        return translated(QT_TRANSLATE_NOOP("MessageWording", "Error code %1 occured")).arg(decimal(code));
    }
}

QString wordedMessage(const UserMessage& message)
{
    using Kind = UserMessage::Kind;
    switch (message.kind) {
    case Kind::reportPlaced:
        //: Message box after a run that placed the report on the user's desktop.
        return translated(QT_TRANSLATE_NOOP("MessageWording", "A report has been placed on the desktop"));
    case Kind::noRecognizedPrinter:
        //: Message box during a run when no printer of the maker is connected over USB;
        //: the run goes on and the report holds the log files only.
        return translated(QT_TRANSLATE_NOOP("MessageWording",
                                            "No recognized printer found, the report will only contain log files."));
    case Kind::unexpectedFailure: {
        //: Message box ending a run with a failure the tool did not foresee (memory
        //: exhausted, a library fault). The English "occured" is a fixed text; spell the
        //: translation correctly.
        const QString sentence =
            translated(QT_TRANSLATE_NOOP("MessageWording", "An unexpected error occured, no report was made"));
        if (message.quoted.empty())
            return sentence;
        // A library's words may quote a path: shown as data, on one line.
        return sentence + QStringLiteral(" (") + displayText::inSentence(message.quoted) + QLatin1Char(')');
    }
    case Kind::failure:
        break;
    }
    return sentenceForErrorCode(message.code);
}
