#pragma once
// Driving the real window offscreen: pressing its button, answering the
// message boxes a press shows, and stand-ins that hold a run at a known point.

#include "app/AppDelegate.h"
#include "app/DesktopSession.h"
#include "platform/Services.h"
#include "tests/doubles/FakeServices.h"
#include "tests/doubles/TestFiles.h"

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <ostream>
#include <utility>
#include <vector>

// A QString in a test's failure message, as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace app_testing {

// What one message box showed, and the window's state while it was up.
struct ShownBox {
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
    QStringList buttonTexts;
    Qt::TextFormat textFormat = Qt::AutoText;
    QString informativeText;
    QSize size;
    // The indicator showed a run (busy or counting), not its rest.
    bool indicatorRunning = false;
    bool cancelShown = false;
    bool overTheWindow = false;
};

// Answers every modal message box with OK as soon as it shows, and a
// question with its button of the role `questionAnswer` (its escape button
// when it has none), recording it, and gives the keyboard back
// to the window that had it before the box, as a window manager does (the
// offscreen platform leaves it nowhere).
class MessageBoxAnswerer : public QObject {
public:
    explicit MessageBoxAnswerer(const AppDelegate& window);
    std::vector<ShownBox> boxes;
    QMessageBox::ButtonRole questionAnswer = QMessageBox::RejectRole;

private:
    void answerOpenBox();
    const AppDelegate& window_;
    QPointer<QWidget> activeBeforeBox_;
    int pollsWhileInactive_ = 0;
    QTimer poll_;
};

// Stands in for the desktop session: records what the window asks of it;
// a show succeeds while `showWorks`.
class RecordingDesktopSession final : public DesktopSession {
public:
    void showFileInFolder(const std::string& file, ShowDone done) override;
    void notify(Notification notification) override;
    // Answers at once with `mailOutcome`.
    void composeEmail(const SupportMail& mail, EmailComposer::Done done) override;

    bool showWorks = true;
    MailOutcome mailOutcome = MailOutcome::composing;
    std::vector<SupportMail> mails;
    std::vector<std::string> shownFiles;
    std::vector<Notification> notifications;
};

// The indicator shows no run: hidden, or full after a placed report.
bool indicatorAtRest(const AppDelegate& window);

// Clicks the window's button with the mouse and returns the boxes the press
// showed, once the press is over.
std::vector<ShownBox> pressButton(AppDelegate& window);

// Shows the window and waits until the platform has exposed it.
void showWindow(AppDelegate& window);

// A home directory, a file-system root with the fixed directories the report
// lists, and a data.xml naming one present and two absent files.
struct ReportPlace {
    ReportPlace();
    testing_support::TempDir directory;
    std::string home;
    std::string root;
    std::string dataXml;
    std::string desktop() const { return home + "/Desktop"; }
    // The names of the files on the desktop, sorted.
    std::vector<std::string> desktopFiles() const;
    // Points the fake machine's HOME here; returns the services to install
    // for the file-system root.
    platform::Services servicesFor(testing_support::FakeMachine& machine) const;
};

// A request for the given data.xml and the dated archive on the desktop.
AppDelegate::RequestSource requestFor(std::string dataXml);

// Installs `change` applied to the current services for the guard's lifetime.
platform::ScopedServices replaceServices(const std::function<void(platform::Services&)>& change);

// An environment whose HOME lookup runs `onHome` first, on the report's thread.
class HookedEnvironment final : public platform::Environment {
public:
    HookedEnvironment(std::string home, std::function<void()> onHome);
    std::optional<std::string> variable(const std::string& name) const override;
    std::string accountHomeDirectory() const override { return home_; }

private:
    std::string home_;
    std::function<void()> onHome_;
};

// Holds the report's thread until opened; tells the GUI thread it is held.
class Gate {
public:
    void holdHere();
    bool isHolding() const;
    void open();

private:
    mutable std::mutex mutex_;
    std::condition_variable opened_;
    bool holding_ = false;
    bool open_ = false;
};

} // namespace app_testing
