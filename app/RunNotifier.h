#pragma once
// Tells a user who is looking at another window that a run waits for them
// or how it ended, in a desktop notification that brings them back to the
// window when clicked.

#include <QCoreApplication>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>

class DesktopSession;

class RunNotifier {
    Q_DECLARE_TR_FUNCTIONS(RunNotifier)

public:
    // Neither is owned; the session must outlive the notifier.
    RunNotifier(QWidget& window, DesktopSession& session);

    // A box asks `question` during the run.
    void waitingForAnswer(const QString& question);
    // The run ended with the box that says `sentence`, leaving `fileName`
    // (the report, or after a failure a partial report; empty for none),
    // which `openFolder` shows.
    void runEnded(bool placed, const QString& sentence, const std::string& fileName, std::function<void()> openFolder);

private:
    bool userIsAtTheWindow() const;
    void notify(const QString& summary, const QString& body, std::function<void()> openFolder);

    QPointer<QWidget> window_;
    DesktopSession& session_;
};
