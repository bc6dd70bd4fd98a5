// The window's translations as shipped: every source text finished in every
// language with the source's placeholders and mnemonic, the .ts files up to
// date with the sources (lupdate run into a copy), the menu entry and the
// metainfo in every language, and the English of the boxes word for word
// the report's own.
#include "app/MessageWording.h"
#include "base/CodedFailure.h"
#include "base/ErrorCodes.h"
#include "core/printer/PrinterCommunicationClass.h"
#include "core/report/ErrorMessages.h"
#include "tests/doubles/TestFiles.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <functional>
#include <sstream>
#include <stdexcept>

using namespace testing_support;

namespace {

const std::string TRANSLATIONS = std::string(TELVARIN_SOURCE_DIR) + "/app/translations/";

std::vector<std::string> shippedLanguages()
{
    std::istringstream words(TELVARIN_LANGUAGES);
    std::vector<std::string> languages;
    for (std::string language; words >> language;)
        languages.push_back(language);
    return languages;
}

std::string tsFile(const std::string& language)
{
    return "telvarin-generator_" + language + ".ts";
}

struct TsMessage {
    QString context;
    QString source;
    QString translationType;
    QStringList translations; // one, or a form per number for %n
};

std::vector<TsMessage> readTsMessages(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    QXmlStreamReader xml(&file);
    std::vector<TsMessage> messages;
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            messages.push_back({context, {}, {}, {}});
        } else if (name == QLatin1String("source") && !messages.empty()) {
            messages.back().source = xml.readElementText();
        } else if (name == QLatin1String("translation") && !messages.empty()) {
            messages.back().translationType = xml.attributes().value(QLatin1String("type")).toString();
            const bool numerus = xml.attributes().hasAttribute(QLatin1String("numerus"));
            if (!numerus)
                messages.back().translations.append(xml.readElementText());
        } else if (name == QLatin1String("numerusform") && !messages.empty()) {
            messages.back().translations.append(xml.readElementText());
        }
    }
    EXPECT_FALSE(xml.hasError()) << path << ": " << xml.errorString().toStdString();
    return messages;
}

QStringList placeholders(const QString& text)
{
    QStringList found;
    static const QRegularExpression placeholder(QStringLiteral("%(\\d+|n)"));
    for (const auto& match : placeholder.globalMatch(text))
        found.append(match.captured());
    found.sort();
    return found;
}

int mnemonicCount(const QString& text)
{
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        // "&&" is a shown ampersand.
        if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&'))
            ++i;
        else
            ++count;
    }
    return count;
}

// The first line where `updated` differs from `original`, for the failure's message.
std::string firstDifference(const std::string& original, const std::string& updated)
{
    std::istringstream before(original), after(updated);
    std::string was, is;
    for (int line = 1;; ++line) {
        const bool more = static_cast<bool>(std::getline(before, was));
        if (static_cast<bool>(std::getline(after, is)) != more)
            return "line " + std::to_string(line) + " added or removed";
        if (!more)
            return {};
        if (was != is)
            return "line " + std::to_string(line) + ": \"" + was + "\" becomes \"" + is + "\"";
    }
}

} // namespace

TEST(TranslationFiles, EveryLanguageFinishesEverySourceTextWithItsPlaceholdersAndMnemonic)
{
    for (const std::string& language : shippedLanguages()) {
        SCOPED_TRACE(language);
        const auto messages = readTsMessages(TRANSLATIONS + tsFile(language));
        EXPECT_FALSE(messages.empty());
        for (const TsMessage& message : messages) {
            const std::string where = (message.context + QLatin1String(": ") + message.source).toStdString();
            // "unfinished", "vanished" or "obsolete": not shipped as it stands.
            EXPECT_TRUE(message.translationType.isEmpty()) << message.translationType.toStdString() << " " << where;
            ASSERT_FALSE(message.translations.isEmpty()) << where;
            for (const QString& translation : message.translations) {
                EXPECT_FALSE(translation.trimmed().isEmpty()) << where;
                EXPECT_EQ(placeholders(translation), placeholders(message.source)) << translation.toStdString();
                EXPECT_EQ(mnemonicCount(translation), mnemonicCount(message.source)) << translation.toStdString();
            }
        }
    }
}

TEST(TranslationFiles, AreUpToDateWithTheSources)
{
    TempDir copies;
    std::vector<std::string> command{TELVARIN_LUPDATE};
    std::istringstream arguments(readWholeFile(TELVARIN_LUPDATE_ARGUMENTS));
    for (std::string argument; std::getline(arguments, argument);)
        command.push_back(argument);
    command.push_back("-ts");
    for (const std::string& language : shippedLanguages()) {
        writeFile(copies / tsFile(language), readWholeFile(TRANSLATIONS + tsFile(language)));
        command.push_back(copies / tsFile(language));
    }
    const ProcessResult update = runProcess(command, {});
    ASSERT_EQ(update.exitStatus, 0) << update.standardError;
    for (const std::string& language : shippedLanguages()) {
        const std::string difference =
            firstDifference(readWholeFile(TRANSLATIONS + tsFile(language)), readWholeFile(copies / tsFile(language)));
        EXPECT_EQ(difference, "") << tsFile(language) << " is out of date: cmake --build build --target "
                                  << "update_translations, then translate what it marked unfinished";
    }
}

TEST(TranslationFiles, TheMenuEntryAndTheMetainfoSpeakEveryLanguage)
{
    const std::string resources = std::string(TELVARIN_SOURCE_DIR) + "/resources/com.quorvel.TelvarinGenerator.";
    const std::string entry = readWholeFile(resources + "desktop");
    const std::string metainfo = readWholeFile(resources + "metainfo.xml.in");
    for (const std::string& language : shippedLanguages()) {
        for (const char* key : {"Name", "GenericName", "Comment", "Keywords"}) {
            const std::string line = "\n" + std::string(key) + "[" + language + "]=";
            EXPECT_NE(entry.find(line), std::string::npos) << line;
        }
        for (const char* element : {"name", "summary"}) {
            const std::string tag = "<" + std::string(element) + " xml:lang=\"" + language + "\">";
            EXPECT_NE(metainfo.find(tag), std::string::npos) << tag;
        }
    }
}

TEST(MessageWording, TheEnglishIsTheReportsOwnForEveryCodeAndMessage)
{
    // No translator is installed in this process: the source texts show.
    std::vector<int> codes{INT_MIN, INT_MIN + 1, -1, INT_MAX};
    for (int code = -20; code <= 100; ++code)
        codes.push_back(code);
    for (int code : codes)
        EXPECT_EQ(sentenceForErrorCode(code).toStdString(), messageForErrorCode(code)) << code;

    std::vector<UserMessage> messages{
        reportPlacedMessage(),
        {.kind = UserMessage::Kind::noRecognizedPrinter, .text = NO_RECOGNIZED_PRINTER_MESSAGE},
    };
    auto failureOf = [](const std::function<void()>& raise) {
        try {
            raise();
        } catch (...) {
            return currentFailure();
        }
        return UserMessage{};
    };
    messages.push_back(failureOf([] { throw CodedFailure{13}; }));
    messages.push_back(failureOf([] { throw CodedFailure{15, {FailedStep::writeArchive, "/d", ENOSPC}}; }));
    messages.push_back(failureOf([] { throw std::runtime_error("disk gone"); }));
    messages.push_back(failureOf([] { throw 'x'; }));
    // A library's words are isolated from the sentence, by characters that are not seen.
    for (const UserMessage& message : messages)
        EXPECT_EQ(wordedMessage(message).remove(QChar(0x2068)).remove(QChar(0x2069)).toStdString(), message.text);
}
