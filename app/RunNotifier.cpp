#include "app/RunNotifier.h"

#include "app/DesktopSession.h"
#include "app/DisplayText.h"
#include "app/FailureExplanation.h"

#include <QApplication>

#include <utility>

RunNotifier::RunNotifier(QWidget& window, DesktopSession& session) : window_(&window), session_(session) {}

bool RunNotifier::userIsAtTheWindow() const
{
    // The window itself, or one of its message boxes, has the keyboard.
    for (const QWidget* active = QApplication::activeWindow(); active; active = active->parentWidget())
        if (active == window_)
            return true;
    return false;
}

void RunNotifier::waitingForAnswer(const QString& question)
{
    if (userIsAtTheWindow())
        return;
    //: Title of the desktop notification while a message in the window waits for an answer during a
    //: run and the window is in the background; the text under it is the message.
    notify(tr("The report waits for your answer"), question, {});
}

void RunNotifier::runEnded(bool placed, const QString& sentence, const std::string& fileName,
                           std::function<void()> openFolder)
{
    if (userIsAtTheWindow())
        return;
    const QString name = displayText::inSentence(fileName);
    if (placed) {
        //: Title of the desktop notification when a report was placed while the
        //: window was in the background; the text under it names the report.
        notify(tr("Report placed"),
               //: In the desktop notification when a report was placed. %1 is its file name.
               tr("The report “%1” was placed on the desktop.").arg(name), std::move(openFolder));
        return;
    }
    //: In the desktop notification after a failure. %1 is the failure's message (the sentence of its box).
    QString body = tr("The report failed: %1.").arg(sentence);
    if (!fileName.empty())
        body += QLatin1Char('\n') + FailureExplanation::partialReport(name);
    //: Title of the desktop notification when a report ended in a failure while
    //: the window was in the background; the text under it says what failed.
    notify(tr("The report failed"), body, std::move(openFolder));
}

void RunNotifier::notify(const QString& summary, const QString& body, std::function<void()> openFolder)
{
    Notification notification{summary, body, std::nullopt, {}};
    auto bringBack = [window = window_] {
        if (!window)
            return;
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
        window->raise();
        window->activateWindow();
    };
    //: What clicking the desktop notification does (some desktops show it): brings the tool's window to the front.
    notification.byDefault = Notification::Action{tr("Show the Window"), bringBack};
    if (openFolder)
        //: A button in the desktop notification after a run: shows the report in the file manager.
        notification.actions.push_back({tr("Open Folder"), std::move(openFolder)});
    session_.notify(std::move(notification));
}
