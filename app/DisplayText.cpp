#include "app/DisplayText.h"

#include <QFile>
#include <QFontMetrics>
#include <QTextBoundaryFinder>

namespace displayText {
namespace {

constexpr char16_t FIRST_STRONG_ISOLATE = 0x2068;
constexpr char16_t POP_DIRECTIONAL_ISOLATE = 0x2069;
constexpr char16_t CONTROL_PICTURES = 0x2400;
constexpr char16_t DELETE_PICTURE = 0x2421;

// Characters without a picture that end a line or change the direction of
// what follows them, even inside an isolate (an isolate of the name's own
// closes ours).
bool endsLineOrTurnsDirection(char16_t character)
{
    return (character >= 0x80 && character <= 0x9f) || character == 0x2028 || character == 0x2029 ||
           (character >= 0x202a && character <= 0x202e) || (character >= 0x2066 && character <= 0x2069);
}

QString fromSystem(const std::string& systemText)
{
    return QFile::decodeName(QByteArray::fromStdString(systemText));
}

} // namespace

QString line(const QString& text)
{
    QString shown = text;
    for (QChar& character : shown) {
        const char16_t code = character.unicode();
        if (code < 0x20)
            character = QChar(CONTROL_PICTURES + code);
        else if (code == 0x7f)
            character = QChar(DELETE_PICTURE);
        else if (endsLineOrTurnsDirection(code))
            character = QChar::ReplacementCharacter;
    }
    return shown;
}

QString line(const std::string& systemText)
{
    return line(fromSystem(systemText));
}

QString inSentence(const QString& text)
{
    return QChar(FIRST_STRONG_ISOLATE) + line(text) + QChar(POP_DIRECTIONAL_ISOLATE);
}

QString inSentence(const std::string& systemText)
{
    return inSentence(fromSystem(systemText));
}

QString withoutMnemonic(const QString& text)
{
    return QString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString asRichText(const QString& text)
{
    return QStringLiteral("<p style='white-space:pre-wrap'>%1</p>").arg(text.toHtmlEscaped());
}

QString fittedToWidth(const QString& text, const QFontMetrics& metrics, int width)
{
    QString fitted;
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    qsizetype start = 0;
    while (breaks.toNextBoundary() != -1) {
        const qsizetype end = breaks.position();
        if (end <= start)
            continue;
        // The blanks and line ends a part closes with stay as they are.
        qsizetype wordEnd = end;
        while (wordEnd > start && text.at(wordEnd - 1).isSpace())
            --wordEnd;
        const QString word = text.mid(start, wordEnd - start);
        fitted += metrics.horizontalAdvance(word) > width ? metrics.elidedText(word, Qt::ElideMiddle, width) : word;
        fitted += text.mid(wordEnd, end - wordEnd);
        start = end;
    }
    return fitted + text.mid(start);
}

} // namespace displayText
