// Text from the customer's system as the window shows it: one line, data
// only, its end in sight.
#include "app/DisplayText.h"
#include "app/ElidingLabel.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeySequence>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTextDocumentFragment>

#include <gtest/gtest.h>

TEST(DisplayText, ShowsAHostileNameOnOneLineAsDataThatCannotTurnTheSentenceAround)
{
    const struct {
        const char* what;
        std::string name;
        QString line;
    } cases[] = {
        {"plain", "Telvarin_03_07_2011__02_05_PM.zip", QStringLiteral("Telvarin_03_07_2011__02_05_PM.zip")},
        {"control characters", "a\nb\tc\rd\x7f", QStringLiteral("a\u240ab\u2409c\u240dd\u2421")},
        {"right-to-left override", "gpj.\u202Eexe", QStringLiteral("gpj.\uFFFDexe")},
        {"an isolate's own end", "a\u2069b\u2066", QStringLiteral("a\uFFFDb\uFFFD")},
        {"next line, line separator", "a\u0085b\u2028c", QStringLiteral("a\uFFFDb\uFFFDc")},
        {"not UTF-8", "Bericht \xc3\xbc\xff.log", QStringLiteral("Bericht \u00fc\uFFFD.log")},
        {"right-to-left letters stay", "\u05d3\u05d5\u05d7.zip", QStringLiteral("\u05d3\u05d5\u05d7.zip")},
        {"markup, mnemonic, placeholder", "<b>R&D</b> %1 %2", QStringLiteral("<b>R&D</b> %1 %2")},
    };
    for (const auto& [what, name, line] : cases) {
        SCOPED_TRACE(what);
        EXPECT_EQ(displayText::line(name), line);
        const QString isolated = QStringLiteral("\u2068") + line + QStringLiteral("\u2069");
        EXPECT_EQ(displayText::inSentence(name), isolated);
        EXPECT_EQ(QTextDocumentFragment::fromHtml(displayText::asRichText(line)).toPlainText(), line);
    }
}

TEST(DisplayText, ElidesOnlyWhatCannotWrapAndKeepsItsEnd)
{
    const QFontMetrics metrics(QApplication::font());
    const int width = metrics.horizontalAdvance(QString(20, QLatin1Char('n')));
    const QString longName = QStringLiteral("start") + QString(200, QLatin1Char('n')) + QStringLiteral("end.log");
    const QString text =
        QStringLiteral("The file “/home/anna/") + longName + QStringLiteral("” could not be read.\nCheck it.");

    const QString fitted = displayText::fittedToWidth(text, metrics, width);

    EXPECT_TRUE(fitted.startsWith(QStringLiteral("The file “/home/anna/st"))) << fitted.toStdString();
    EXPECT_TRUE(fitted.contains(QStringLiteral("\u2026"))) << fitted.toStdString();
    EXPECT_TRUE(fitted.endsWith(QStringLiteral("read.\nCheck it."))) << fitted.toStdString();
    for (const QString& word : fitted.split(QRegularExpression(QStringLiteral("[ /\n]"))))
        EXPECT_LE(metrics.horizontalAdvance(word), width) << word.toStdString();
    EXPECT_EQ(displayText::fittedToWidth(QStringLiteral("Short words wrap as they are."), metrics, width),
              QStringLiteral("Short words wrap as they are."));
}

TEST(DisplayText, ALabelWithABuddyShowsAnAmpersandAndTakesNoAltLetterFromIt)
{
    QProgressBar bar;
    ElidingLabel label;
    label.setBuddy(&bar);
    label.resize(400, 40);
    label.setFullText(QStringLiteral("Copying “R&D.log”…"));
    EXPECT_EQ(label.shownText(), QStringLiteral("Copying “R&D.log”…"));
    EXPECT_TRUE(QKeySequence::mnemonic(label.text()).isEmpty()) << label.text().toStdString();
}
