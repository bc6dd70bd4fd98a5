// What the window tells a first-time user, offscreen: what a press does,
// where the report went, a way to its folder, the keys that press, and what
// a screen reader hears.
#include "app/DisplayText.h"
#include "app/ElidingLabel.h"
#include "app/PlacedReportRow.h"
#include "app/ReportContents.h"
#include "app/Translations.h"
#include "core/report/ErrorMessages.h"
#include "tests/app/WindowHarness.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFont>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableView>
#include <QTest>
#include <QTextDocumentFragment>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <tuple>

using namespace app_testing;
using namespace testing_support;

namespace {

const char* const ARCHIVE_NAME = "Telvarin_03_07_2011__02_05_PM.zip";

// A window on a fake machine at a fixed moment, whose desktop session only
// records what it was asked.
struct GuidedWindow {
    GuidedWindow() : installed(machine.install(place.servicesFor(machine))), window(requestFor(place.dataXml), &session)
    {
        machine.clock = FakeClock(utcTime(2011, 3, 7, 14, 5), 0);
        showWindow(window);
    }
    bool showsPlacedReport() const
    {
        return window.placedReport()->fileName()->isVisible() && window.placedReport()->openFolderButton()->isVisible();
    }
    bool contains(QWidget* widget) const
    {
        return window.rect().contains(QRect(widget->mapTo(&window, QPoint()), widget->size()));
    }
    std::size_t runs() const { return machine.systemLog.lines.size(); }

    FakeMachine machine;
    ReportPlace place;
    platform::ScopedServices installed;
    RecordingDesktopSession session;
    AppDelegate window;
};

QScreen* smallScreen()
{
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == QLatin1String("small"))
            return screen;
    return QGuiApplication::primaryScreen();
}

bool textFits(const QLabel* label)
{
    return label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width();
}

// At the window's smallest size every text shows whole.
void expectNothingClipped(GuidedWindow& guided)
{
    AppDelegate& window = guided.window;
    window.resize(window.minimumSize());
    QApplication::processEvents();
    for (QLabel* wrapped : {window.explanation(), static_cast<QLabel*>(window.placedReport()->actionNote())})
        EXPECT_GE(wrapped->height(), wrapped->heightForWidth(wrapped->width())) << wrapped->text().toStdString();
    EXPECT_TRUE(textFits(window.placedReport()->fileName()));
    for (QPushButton* button :
         {window.button(), window.placedReport()->openFolderButton(), window.placedReport()->emailButton()})
        EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->isVisible() && !label->wordWrap() && !qobject_cast<ElidingLabel*>(label)) {
            EXPECT_TRUE(textFits(label)) << label->text().toStdString();
        }
    }
    for (QWidget* widget : window.findChildren<QWidget*>())
        EXPECT_TRUE(!widget->isVisible() || guided.contains(widget)) << widget->objectName().toStdString();
}

// The Alt letters of the window's buttons and labels, each once.
void expectUniqueMnemonics(const AppDelegate& window)
{
    std::set<int> keys;
    std::vector<QString> texts;
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        texts.push_back(button->text());
    for (const QLabel* label : window.findChildren<QLabel*>())
        texts.push_back(label->text());
    for (const QString& text : texts) {
        if (const QKeySequence key = QKeySequence::mnemonic(text); !key.isEmpty()) {
            EXPECT_TRUE(keys.insert(key[0].toCombined()).second) << "twice: " << text.toStdString();
        }
    }
}

} // namespace

TEST(WindowGuide, SaysWhatAPressCollectsAndFitsItsSmallestSizeAtAnyFontSize)
{
    const QFont defaultFont = QApplication::font();
    for (int points : {defaultFont.pointSize(), 12}) {
        SCOPED_TRACE(points);
        QFont font = defaultFont;
        font.setPointSize(points);
        QApplication::setFont(font);
        GuidedWindow guided;
        QLabel* explanation = guided.window.explanation();
        ASSERT_TRUE(explanation->isVisible());
        for (const char* part : {"logs and settings", "over USB", "this computer", "zip", "desktop", "support"})
            EXPECT_TRUE(explanation->text().contains(QString::fromLatin1(part))) << part;
        EXPECT_FALSE(guided.showsPlacedReport()) << "nothing was placed yet";
        EXPECT_TRUE(guided.window.statusLine()->text().isEmpty()) << "empty at rest";

        pressButton(guided.window);
        EXPECT_FALSE(guided.window.placedReport()->fileName()->isElided())
            << "the window opens wide enough for the name";
        expectNothingClipped(guided);
    }
    QApplication::setFont(defaultFont);
}

TEST(WindowGuide, SpeaksGermanOnAGermanDesktopQtsButtonsIncluded)
{
    // This suite runs under LC_ALL=de_DE.UTF-8, as the application would.
    Translations german = Translations::forDesktop();
    ASSERT_TRUE(german.language().startsWith(QLatin1String("de"))) << german.language().toStdString();
    german.install();
    GuidedWindow guided;
    EXPECT_TRUE(guided.window.explanation()->text().contains(QStringLiteral("Schreibtisch")));
    EXPECT_EQ(guided.window.button()->text(), QStringLiteral("Bericht &erstellen"));

    // No printer on the fake machine: a box on the way, then the outcome.
    const auto placed = pressButton(guided.window);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[0].text, QStringLiteral("Es wurde kein unterstützter Drucker gefunden; "
                                             "der Bericht enthält nur die Protokolldateien."));
    EXPECT_EQ(placed[1].text, QStringLiteral("Ein Bericht wurde auf dem Schreibtisch abgelegt"));
    EXPECT_EQ(guided.window.placedReport()->openFolderButton()->text(), QStringLiteral("&Ordner öffnen"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));

    std::remove(guided.place.dataXml.c_str());
    const auto failed = pressButton(guided.window);
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].text, QStringLiteral("Die Datei data.xml wurde nicht gefunden"));
    // What failed and what to do, under the sentence.
    EXPECT_TRUE(failed[0].informativeText.contains(QStringLiteral("Die Liste der zu sammelnden Dateien")) &&
                failed[0].informativeText.contains(QStringLiteral("Installieren Sie Telvarin Generator erneut.")))
        << failed[0].informativeText.toStdString();
}

TEST(WindowGuide, EveryLanguageFitsTheWindowAndASmallScreenKeepsItsAltLettersApartAndSpeaksInQtsBoxesToo)
{
    const QFont defaultFont = QApplication::font();
    QFont large = defaultFont;
    large.setPointSize(12);
    QApplication::setFont(large);
    for (const QString& language : QString::fromLatin1(TELVARIN_LANGUAGES).split(QLatin1Char(' '))) {
        SCOPED_TRACE(language.toStdString());
        Translations translations({language});
        ASSERT_FALSE(translations.language().isEmpty());
        translations.install();
        GuidedWindow guided;
        EXPECT_NE(guided.window.button()->text(), QStringLiteral("&Generate Report"));

        const auto boxes = pressButton(guided.window);
        ASSERT_FALSE(boxes.empty());
        EXPECT_NE(boxes.back().text, QString::fromLatin1(REPORT_PLACED_MESSAGE));
        EXPECT_EQ(boxes.back().buttonTexts, QStringList{QCoreApplication::translate("QPlatformTheme", "OK")});
        EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));

        guided.session.showWorks = false;
        QTest::mouseClick(guided.window.placedReport()->openFolderButton(), Qt::LeftButton);
        ASSERT_TRUE(guided.window.placedReport()->actionNote()->isVisible());
        QTest::mouseClick(guided.window.placedReport()->contents()->disclosure(), Qt::LeftButton);
        expectNothingClipped(guided);
        expectUniqueMnemonics(guided.window);

        // On a netbook's screen (1024x600 at twice the scale) the window
        // fits, and what does not fit scrolls into sight.
        guided.window.setScreen(smallScreen());
        guided.window.resize(guided.window.minimumSize());
        QApplication::processEvents();
        ASSERT_EQ(guided.window.screen(), smallScreen());
        const QRect room = smallScreen()->availableGeometry();
        EXPECT_LE(guided.window.frameGeometry().width(), room.width());
        EXPECT_LE(guided.window.frameGeometry().height(), room.height());
        auto* scrolling = guided.window.findChild<QScrollArea*>();
        ASSERT_TRUE(scrolling);
        QWidget* content = scrolling->widget();
        EXPECT_GE(content->height(), content->layout()->totalHeightForWidth(content->width()));
        scrolling->ensureWidgetVisible(guided.window.placedReport()->actionNote());
        EXPECT_TRUE(scrolling->viewport()->rect().contains(
            QRect(guided.window.placedReport()->actionNote()->mapTo(scrolling->viewport(), QPoint()),
                  guided.window.placedReport()->actionNote()->size())));
    }
    QApplication::setFont(defaultFont);
}

TEST(WindowGuide, TheFileNameIsSelectableElidedInTheMiddleWhenNarrowAndSaysItsWholePath)
{
    GuidedWindow guided;
    // A folder name that looks like markup is shown as it stands.
    writeFile(guided.place.home + "/.config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/<b>Bureau</b>\"\n");
    pressButton(guided.window);
    ElidingLabel* name = guided.window.placedReport()->fileName();
    const QString path = QString::fromStdString(guided.place.home + "/<b>Bureau</b>/" + ARCHIVE_NAME);

    // Reached by Tab from the report button, as a keyboard user would.
    guided.window.button()->setFocus();
    QTest::keyClick(guided.window.button(), Qt::Key_Tab);
    ASSERT_EQ(guided.window.focusWidget(), name);
    QTest::keyClick(name, Qt::Key_Home);
    QTest::keyClick(name, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(name->selectedText(), QString::fromLatin1(ARCHIVE_NAME));
    name->setSelection(0, 0);
    const int middle = name->height() / 2;
    QTest::mousePress(name, Qt::LeftButton, {}, QPoint(name->width() - 1, middle));
    QTest::mouseMove(name, QPoint(1, middle));
    QTest::mouseRelease(name, Qt::LeftButton, {}, QPoint(1, middle));
    EXPECT_EQ(name->selectedText(), QString::fromLatin1(ARCHIVE_NAME));

    name->resize(name->minimumSizeHint());
    EXPECT_TRUE(textFits(name));
    EXPECT_TRUE(name->isElided() && name->text().startsWith(QStringLiteral("Te")) &&
                name->text().endsWith(QStringLiteral("ip")))
        << name->text().toStdString();
    EXPECT_EQ(QTextDocumentFragment::fromHtml(name->toolTip()).toPlainText(), path);
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(name);
    EXPECT_EQ(spoken->text(QAccessible::Name), QString::fromLatin1(ARCHIVE_NAME));
    EXPECT_EQ(spoken->text(QAccessible::Description), path);
}

TEST(WindowGuide, AHostileFolderNameShowsAsItIsInTheRowItsTipAndAFailuresBoxAndOpensByItsBytes)
{
    GuidedWindow guided;
    // An Alt letter's mark, a placeholder, markup, a line feed, a
    // right-to-left override, a byte that is not UTF-8, and a long name.
    const std::string home =
        guided.place.directory / ("R&D %2 <i>x</i>\n\u202Eevil\xff " + std::string(200, 'n') + "end");
    makeDirectories(home);
    guided.machine.environment.variables["HOME"] = home;
    pressButton(guided.window);
    const std::string archive = home + "/Desktop/" + ARCHIVE_NAME;
    ElidingLabel* name = guided.window.placedReport()->fileName();
    EXPECT_EQ(QTextDocumentFragment::fromHtml(name->toolTip()).toPlainText(), displayText::line(archive));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(name)->text(QAccessible::Description), displayText::line(archive));
    QTest::mouseClick(guided.window.placedReport()->openFolderButton(), Qt::LeftButton);
    EXPECT_EQ(guided.session.shownFiles, std::vector<std::string>{archive}) << "the file named by its own bytes";

    std::filesystem::remove_all(home + "/Desktop");
    writeFile(home + "/Desktop", "not a folder");
    const auto boxes = pressButton(guided.window);
    ASSERT_FALSE(boxes.empty());
    const QString explanation = QTextDocumentFragment::fromHtml(boxes.back().informativeText).toPlainText();
    EXPECT_EQ(explanation.count(QLatin1Char('\n')), 1) << "what failed, then what to do: " << explanation.toStdString();
    EXPECT_TRUE(explanation.contains(QStringLiteral("/R&D %2 <i>x</i>\u240a\uFFFDevil\uFFFD nnn")))
        << explanation.toStdString();
    EXPECT_TRUE(explanation.contains(QStringLiteral("nnn\u2026nnn")) &&
                explanation.contains(QStringLiteral("nnnend/Desktop\u2069\u201d")))
        << "elided in the middle: " << explanation.toStdString();
    EXPECT_LT(boxes.back().size.width(), 600) << "the box does not grow to the name";
}

TEST(WindowGuide, ShowsThePlacedFileAndOpensTheDesktopTheUserDirsNameUntilTheNextPress)
{
    struct Case {
        const char* what;
        std::string userDirs;
        std::string desktop;
        bool existsBefore;
    };
    const Case cases[] = {
        {"named and there", "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"", "Schreibtisch", true},
        {"named and missing", "XDG_DESKTOP_DIR=\"$HOME/Escritorio/Informes\"", "Escritorio/Informes", false},
        {"none named", "XDG_MUSIC_DIR=\"$HOME/Musique\"", "Desktop", false},
    };
    for (const auto& [what, userDirs, desktop, existsBefore] : cases) {
        SCOPED_TRACE(what);
        GuidedWindow guided;
        writeFile(guided.place.home + "/.config/user-dirs.dirs", userDirs + "\n");
        const std::string archive = guided.place.home + "/" + desktop + "/" + ARCHIVE_NAME;
        if (existsBefore)
            makeDirectories(guided.place.home + "/" + desktop);

        pressButton(guided.window);

        EXPECT_TRUE(pathExists(archive));
        ASSERT_TRUE(guided.showsPlacedReport());
        EXPECT_EQ(guided.window.placedReport()->fileName()->fullText(), QString::fromLatin1(ARCHIVE_NAME));
        QTest::mouseClick(guided.window.placedReport()->openFolderButton(), Qt::LeftButton);
        EXPECT_EQ(guided.session.shownFiles, std::vector<std::string>{archive});

        // A failed press takes the row away: it would name the last report.
        std::remove(guided.place.dataXml.c_str());
        pressButton(guided.window);
        EXPECT_FALSE(guided.showsPlacedReport());
    }
}

TEST(WindowGuide, WhenOpenFolderCannotShowTheReportALineSaysWhyAndTakesTheFocus)
{
    GuidedWindow guided;
    pressButton(guided.window);
    const std::string archive = guided.place.desktop() + "/" + ARCHIVE_NAME;
    QLabel* failure = guided.window.placedReport()->actionNote();
    guided.window.resize(guided.window.minimumSize());
    const struct {
        const char* what;
        bool showWorks;
        bool moved;
        std::size_t asked;
        QString says;
    } cases[] = {
        {"shown", true, false, 1, {}},
        {"nothing shows the folder", false, false, 1,
         "No file manager could open the folder. The report is in “" + displayText::inSentence(guided.place.desktop()) +
             "”."},
        // Checked first: the file manager would be sent to a missing file.
        {"moved", true, true, 0,
         "The file “" + displayText::inSentence(std::string(ARCHIVE_NAME)) + "” was moved or deleted."},
        {"shown again", true, false, 1, {}},
    };
    for (const auto& [what, showWorks, moved, asked, says] : cases) {
        SCOPED_TRACE(what);
        guided.session.shownFiles.clear();
        guided.session.showWorks = showWorks;
        if (moved)
            std::filesystem::rename(archive, archive + ".elsewhere");

        QTest::mouseClick(guided.window.placedReport()->openFolderButton(), Qt::LeftButton);
        QApplication::processEvents();

        EXPECT_EQ(guided.session.shownFiles.size(), asked);
        ASSERT_EQ(failure->isVisible(), !says.isEmpty());
        if (moved)
            std::filesystem::rename(archive + ".elsewhere", archive);
        if (says.isEmpty())
            continue;
        EXPECT_EQ(guided.window.placedReport()->actionNote()->text(), says);
        // A screen reader reads the line that took the focus.
        EXPECT_EQ(guided.window.focusWidget(), failure);
        EXPECT_GE(failure->height(), failure->heightForWidth(failure->width())) << "the text is cut";
        EXPECT_TRUE(guided.contains(failure));
    }
}

TEST(WindowGuide, AFocusedButtonTakesReturnAndSpaceAndReturnElsewherePressesTheDefaultButton)
{
    GuidedWindow guided;
    guided.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&guided.window)) << "mnemonics need the window active";
    pressButton(guided.window);
    QWidget* const generate = guided.window.button();
    QWidget* const openFolder = guided.window.placedReport()->openFolderButton();
    QWidget* const fileName = guided.window.placedReport()->fileName();
    const struct {
        QWidget* focus;
        QKeyCombination key;
        bool runs;
        bool opens;
    } cases[] = {
        {generate, Qt::Key_Space, true, false},
        {generate, Qt::Key_Return, true, false},
        {generate, Qt::KeypadModifier | Qt::Key_Enter, true, false},
        {openFolder, Qt::Key_Return, false, true},
        {openFolder, Qt::KeypadModifier | Qt::Key_Enter, false, true},
        {openFolder, Qt::Key_Space, false, true},
        {fileName, Qt::Key_Return, false, true},
        {fileName, Qt::Key_Space, false, false},
        {openFolder, Qt::AltModifier | Qt::Key_G, true, false},
        {generate, Qt::AltModifier | Qt::Key_O, false, true},
    };
    for (const auto& [focus, key, runs, opens] : cases) {
        SCOPED_TRACE(focus->objectName().toStdString() + " " + QKeySequence(key).toString().toStdString());
        const std::size_t runsBefore = guided.runs();
        const std::size_t opensBefore = guided.session.shownFiles.size();
        MessageBoxAnswerer answerer(guided.window);
        focus->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), focus);

        QTest::keyClick(focus, key.key(), key.keyboardModifiers());
        // A mnemonic presses its button a moment later, as a click shows.
        auto answered = [&] { return guided.runs() != runsBefore || guided.session.shownFiles.size() != opensBefore; };
        static_cast<void>(QTest::qWaitFor(answered, runs || opens ? 5000 : 50));

        EXPECT_EQ(guided.runs() - runsBefore, runs ? 1u : 0u);
        EXPECT_EQ(guided.session.shownFiles.size() - opensBefore, opens ? 1u : 0u);
        ASSERT_TRUE(guided.showsPlacedReport());
    }
}

TEST(WindowGuide, AScreenReaderHearsTheProgressBarByNameAndValueLabelledByItsStatusLine)
{
    GuidedWindow guided;
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(guided.window.indicator());
    EXPECT_FALSE(bar->text(QAccessible::Name).isEmpty());
    ASSERT_NE(bar->valueInterface(), nullptr);
    EXPECT_EQ(bar->valueInterface()->currentValue().toInt(), 0);
    const auto labels = bar->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0].first->object(), guided.window.statusLine());
}

TEST(WindowGuide, ARunThatWaitsOrEndsWhileTheUserIsElsewhereSaysSoInANotificationThatLeadsBack)
{
    // Each notification's title, text and buttons.
    using Said = std::vector<std::tuple<QString, QString, QStringList>>;
    const QString noPrinter = QStringLiteral("No recognized printer found, the report will only contain log files.");
    const QString placed = QStringLiteral("The report \u201c\u2068%1\u2069\u201d was placed on the desktop.")
                               .arg(QLatin1String(ARCHIVE_NAME));
    const struct {
        bool away;
        bool dataXml;
        Said said;
    } cases[] = {
        {true,
         true,
         {{QStringLiteral("The report waits for your answer"), noPrinter, {}},
          {QStringLiteral("Report placed"), placed, {QStringLiteral("Open Folder")}}}},
        {true,
         false,
         {{QStringLiteral("The report failed"), QStringLiteral("The report failed: Could not find data.xml."), {}}}},
        {false, true, {}},
        {false, false, {}},
    };
    for (const auto& [away, dataXml, expected] : cases) {
        SCOPED_TRACE(testing::Message() << "away " << away << ", data.xml " << dataXml);
        GuidedWindow guided;
        if (!dataXml)
            std::remove(guided.place.dataXml.c_str());
        QWidget elsewhere;
        QWidget* active = away ? &elsewhere : static_cast<QWidget*>(&guided.window);
        active->show();
        active->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(active));

        pressButton(guided.window);

        Said said;
        for (const Notification& notification : guided.session.notifications) {
            QStringList buttons;
            for (const Notification::Action& action : notification.actions)
                buttons << action.label;
            said.emplace_back(notification.summary, notification.body, buttons);
            EXPECT_TRUE(notification.byDefault) << "a click on it leads back to the window";
        }
        EXPECT_EQ(said, expected);
        if (said.empty() || !dataXml)
            continue;
        // Its button shows the report; a click on it brings the window back.
        const Notification& last = guided.session.notifications.back();
        last.actions.at(0).run();
        EXPECT_EQ(guided.session.shownFiles.size(), 1u);
        last.byDefault->run();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&guided.window));
    }
}
