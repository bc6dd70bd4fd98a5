// What the window tells a first-time user, offscreen: what a press does,
// where the report went, a way to its folder, and the keys that press.
#include "WindowHarness.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace app_testing;
using namespace testing_support;

namespace {

const char* const ARCHIVE_NAME = "Telvarin_03_07_2011__02_05_PM.zip";

// A window on a fake machine at a fixed moment, whose open-folder button
// only records what it was asked to open.
struct GuidedWindow {
    explicit GuidedWindow(AppDelegate::RequestSource request = {})
        : installed(machine.install(place.servicesFor(machine))),
          window(request ? std::move(request) : requestFor(place.dataXml),
                 [this](const QString& folder) { openedFolders.push_back(folder.toStdString()); })
    {
        machine.clock = FakeClock(utcTime(2011, 3, 7, 14, 5), 0);
        showWindow(window);
    }
    std::string name() const { return window.placedFileName()->text().toStdString(); }
    bool showsPlacedReport() const
    {
        return window.placedFileName()->isVisible() && window.openFolderButton()->isVisible();
    }

    FakeMachine machine;
    ReportPlace place;
    platform::ScopedServices installed;
    std::vector<std::string> openedFolders;
    AppDelegate window;
};

void writeUserDirs(const std::string& home, const std::string& line)
{
    writeFile(home + "/.config/user-dirs.dirs", line + "\n");
}

} // namespace

TEST(WindowGuide, SaysWhatAPressCollectsWhereItGoesAndWhatToDoWithIt)
{
    GuidedWindow guided;
    QLabel* explanation = guided.window.explanation();
    ASSERT_TRUE(explanation->isVisible());
    const QString text = explanation->text();
    for (const char* part : {"logs and settings", "over USB", "this computer", "zip", "desktop", "support"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(part))) << part;
    EXPECT_FALSE(guided.showsPlacedReport()) << "nothing was placed yet";

    // At its smallest the window still shows the whole text and both rows.
    guided.window.resize(guided.window.minimumSize());
    QApplication::processEvents();
    EXPECT_GE(explanation->height(), explanation->heightForWidth(explanation->width()));
    const QRect inside = guided.window.centralWidget()->rect();
    for (QWidget* widget : {static_cast<QWidget*>(explanation), static_cast<QWidget*>(guided.window.button()),
                            static_cast<QWidget*>(guided.window.indicator())})
        EXPECT_TRUE(inside.contains(QRect(widget->mapTo(guided.window.centralWidget(), QPoint()), widget->size())))
            << widget->objectName().toStdString();}

TEST(WindowGuide, TakesTheMenuEntrysIconFromTheIconTheme)
{
    // The icon where the package installs it, in a theme of the test's own.
    TempDir icons;
    const std::string entry = readWholeFile(TELVARIN_SOURCE_DIR "/resources/com.quorvel.TelvarinGenerator.desktop");
    const auto iconLine = entry.find("\nIcon=");
    ASSERT_NE(iconLine, std::string::npos);
    const std::string iconName = entry.substr(iconLine + 6, entry.find('\n', iconLine + 1) - iconLine - 6);
    writeFile(icons / "hicolor/index.theme", "[Icon Theme]\nName=Hicolor\nDirectories=scalable/apps\n\n"
                                             "[scalable/apps]\nSize=128\nMinSize=8\nMaxSize=512\nType=Scalable\n");
    writeFile(icons / ("hicolor/scalable/apps/" + iconName + ".svg"),
              readWholeFile(TELVARIN_SOURCE_DIR "/resources/com.quorvel.TelvarinGenerator.svg"));
    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString themeName = QIcon::themeName();
    QIcon::setThemeSearchPaths({QString::fromStdString(icons.path())});
    QIcon::setThemeName(QStringLiteral("hicolor"));

    GuidedWindow guided;
    const QIcon icon = guided.window.windowIcon();

    EXPECT_EQ(icon.name().toStdString(), iconName);
    EXPECT_FALSE(icon.pixmap(48, 48).isNull()) << "the SVG needs Qt's SVG plugin (libqt6svg6)";
    // Theme icons are looked up anew once the theme changes.
    QIcon::setThemeName(themeName);
    QIcon::setThemeSearchPaths(searchPaths);
}

TEST(WindowGuide, AfterSuccessShowsTheFileAndOpensItsFolderUntilTheNextPress)
{
    GuidedWindow guided;
    writeUserDirs(guided.place.home, "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"");

    pressButton(guided.window);

    ASSERT_TRUE(guided.showsPlacedReport());
    EXPECT_NE(guided.name().find(ARCHIVE_NAME), std::string::npos) << guided.name();
    EXPECT_TRUE(guided.openedFolders.empty());
    QTest::mouseClick(guided.window.openFolderButton(), Qt::LeftButton);
    EXPECT_EQ(guided.openedFolders, std::vector<std::string>{guided.place.home + "/Schreibtisch"});
    guided.window.resize(guided.window.minimumSize());
    QApplication::processEvents();
    QPushButton* open = guided.window.openFolderButton();
    EXPECT_TRUE(guided.window.rect().contains(QRect(open->mapTo(&guided.window, QPoint()), open->size())))
        << "the row fits the smallest window";

    // A failed press takes the row away: it would name the last report.
    std::remove((guided.place.dataXml).c_str());
    pressButton(guided.window);
    EXPECT_FALSE(guided.showsPlacedReport());
    EXPECT_TRUE(guided.window.placedFileName()->text().isEmpty());
}

TEST(WindowGuide, PlacesTheReportInTheDesktopTheUserDirsName)
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
        writeUserDirs(guided.place.home, userDirs);
        const std::string folder = guided.place.home + "/" + desktop;
        if (existsBefore)
            makeDirectories(folder);

        pressButton(guided.window);

        EXPECT_TRUE(pathExists(folder + "/" + ARCHIVE_NAME));
        ASSERT_TRUE(guided.showsPlacedReport());
        QTest::mouseClick(guided.window.openFolderButton(), Qt::LeftButton);
        EXPECT_EQ(guided.openedFolders, std::vector<std::string>{folder});
    }
}

TEST(WindowGuide, SpaceAndEnterPressTheButton)
{
    GuidedWindow guided;
    ASSERT_EQ(guided.window.focusWidget(), guided.window.button());

    const Qt::Key keys[] = {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter};
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        MessageBoxAnswerer answerer(guided.window);
        // Wherever the focus is, as the key goes to it.
        QTest::keyClick(guided.window.focusWidget(), keys[i]);
        EXPECT_EQ(guided.machine.systemLog.lines.size(), i + 1) << "key " << keys[i];
        EXPECT_TRUE(guided.showsPlacedReport());
    }
    // Enter presses even with the focus on the other button; Space there is
    // that button's own.
    guided.window.openFolderButton()->setFocus();
    MessageBoxAnswerer answerer(guided.window);
    QTest::keyClick(guided.window.openFolderButton(), Qt::Key_Return);
    EXPECT_EQ(guided.machine.systemLog.lines.size(), std::size(keys) + 1);
    EXPECT_TRUE(guided.openedFolders.empty());
    guided.window.openFolderButton()->setFocus();
    QTest::keyClick(guided.window.openFolderButton(), Qt::Key_Space);
    EXPECT_EQ(guided.machine.systemLog.lines.size(), std::size(keys) + 1);
    EXPECT_EQ(guided.openedFolders.size(), 1u);
}

TEST(WindowGuide, ACloseAskedForDuringARunIsDoneWhenItEnds)
{
    Gate gate;
    GuidedWindow guided;
    HookedEnvironment held(guided.place.home, [&gate] { gate.holdHere(); });
    auto heldHome = replaceServices([&](platform::Services& services) { services.environment = &held; });
    bool closedAtOnce = true;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (!gate.isHolding())
            return;
        closer.stop();
        closedAtOnce = guided.window.close();
        gate.open();
    });
    closer.start(5);

    auto boxes = pressButton(guided.window);

    EXPECT_FALSE(closedAtOnce);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().text, QStringLiteral("A report has been placed on the desktop"));
    EXPECT_FALSE(guided.window.isVisible()) << "the close asked for during the run";
}
