#include "app/CommandLine.h"

#include "app/ApplicationIdentity.h"
#include "app/Translations.h"

#include <QCoreApplication>
#include <QString>

#include <cstring>

namespace {

QString helpText()
{
    //: telvarin-generator --help, on a terminal. Keep the option names, the
    //: commands and the line breaks as they are (lines within 80 columns); %1 is
    //: the command.
    static const char* const source =
        QT_TRANSLATE_NOOP("CommandLine", "Usage: %1 [--help | --version]\n"
                                         "\n"
                                         "Opens the Telvarin Generator's window. A press of Generate Report gathers\n"
                                         "what Quorvel support needs into one zip file on your desktop: the printer's\n"
                                         "logs and settings, a report read from the printer over USB, and facts about\n"
                                         "this computer.\n"
                                         "\n"
                                         "Options:\n"
                                         "  --help     show this text and exit\n"
                                         "  --version  show the version and exit\n"
                                         "\n"
                                         "Without a window, telvarin-report makes the same report.\n");
    // Answered before the application exists, in the desktop's language.
    return Translations::forDesktop().translate("CommandLine", source).arg(QString::fromLatin1(PROGRAM_NAME));
}

QString versionText()
{
    return QStringLiteral("%1 %2\n").arg(QString::fromLatin1(PROGRAM_NAME), QStringLiteral(TELVARIN_VERSION));
}

} // namespace

std::optional<int> answerInformationOptions(int argc, char** argv, std::FILE* out)
{
    QString answer;
    for (int i = 1; i < argc && answer.isEmpty(); ++i) {
        if (std::strcmp(argv[i], "--help") == 0)
            answer = helpText();
        else if (std::strcmp(argv[i], "--version") == 0)
            answer = versionText();
    }
    if (answer.isEmpty())
        return std::nullopt;
    const QByteArray bytes = answer.toLocal8Bit();
    const bool written = std::fwrite(bytes.constData(), 1, bytes.size(), out) == std::size_t(bytes.size());
    // A full disk or a closed pipe is a failure, not an answer.
    if (std::fflush(out) != 0 || !written) {
        std::fprintf(stderr, "%s: could not write to standard output\n", PROGRAM_NAME);
        return 1;
    }
    return 0;
}
