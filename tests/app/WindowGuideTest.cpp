// What the window tells a first-time user, offscreen: what a press does,
// where the report went, a way to its folder, and the keys that press.
#include "WindowHarness.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>

using namespace app_testing;
using namespace testing_support;

namespace {

const char* const ARCHIVE_NAME = "Telvarin_03_07_2011__02_05_PM.zip";

// A window on a fake machine at a fixed moment, whose open-folder button
// only records what it was asked to open.
struct GuidedWindow {
    GuidedWindow()
        : installed(machine.install(place.servicesFor(machine))),
          window(requestFor(place.dataXml),
                 [this](const QString& folder) { openedFolders.push_back(folder.toStdString()); })
    {
        machine.clock = FakeClock(utcTime(2011, 3, 7, 14, 5), 0);
        showWindow(window);
    }
    bool showsPlacedReport() const
    {
        return window.placedFileName()->isVisible() && window.openFolderButton()->isVisible();
    }
    bool contains(QWidget* widget) const
    {
        return window.rect().contains(QRect(widget->mapTo(&window, QPoint()), widget->size()));
    }

    FakeMachine machine;
    ReportPlace place;
    platform::ScopedServices installed;
    std::vector<std::string> openedFolders;
    AppDelegate window;
};

} // namespace

TEST(WindowGuide, SaysWhatAPressCollectsAndFitsItsSmallestSize)
{
    GuidedWindow guided;
    QLabel* explanation = guided.window.explanation();
    ASSERT_TRUE(explanation->isVisible());
    for (const char* part : {"logs and settings", "over USB", "this computer", "zip", "desktop", "support"})
        EXPECT_TRUE(explanation->text().contains(QString::fromLatin1(part))) << part;
    EXPECT_FALSE(guided.showsPlacedReport()) << "nothing was placed yet";

    guided.window.resize(guided.window.minimumSize());
    QApplication::processEvents();
    EXPECT_GE(explanation->height(), explanation->heightForWidth(explanation->width())) << "the text is cut";
    for (QWidget* widget : {static_cast<QWidget*>(explanation), static_cast<QWidget*>(guided.window.button()),
                            static_cast<QWidget*>(guided.window.openFolderButton())})
        EXPECT_TRUE(guided.contains(widget)) << widget->objectName().toStdString();
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
        const std::string folder = guided.place.home + "/" + desktop;
        if (existsBefore)
            makeDirectories(folder);

        pressButton(guided.window);

        EXPECT_TRUE(pathExists(folder + "/" + ARCHIVE_NAME));
        ASSERT_TRUE(guided.showsPlacedReport());
        EXPECT_TRUE(guided.window.placedFileName()->text().contains(QString::fromLatin1(ARCHIVE_NAME)));
        QTest::mouseClick(guided.window.openFolderButton(), Qt::LeftButton);
        EXPECT_EQ(guided.openedFolders, std::vector<std::string>{folder});

        // A failed press takes the row away: it would name the last report.
        std::remove(guided.place.dataXml.c_str());
        pressButton(guided.window);
        EXPECT_FALSE(guided.showsPlacedReport());
    }
}

TEST(WindowGuide, SpaceAndEnterPressTheButton)
{
    GuidedWindow guided;
    const Qt::Key keys[] = {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter};
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        MessageBoxAnswerer answerer(guided.window);
        // To the focus, as a real key goes; a run must give it back.
        ASSERT_EQ(guided.window.focusWidget(), guided.window.button());
        QTest::keyClick(guided.window.focusWidget(), keys[i]);
        EXPECT_EQ(guided.machine.systemLog.lines.size(), i + 1) << "key " << keys[i];
    }
    // On the other button Enter still presses.
    guided.window.openFolderButton()->setFocus();
    MessageBoxAnswerer answerer(guided.window);
    QTest::keyClick(guided.window.openFolderButton(), Qt::Key_Return);
    EXPECT_EQ(guided.machine.systemLog.lines.size(), std::size(keys) + 1);
    EXPECT_TRUE(guided.openedFolders.empty());
}
