#pragma once
// An update of the window that is asked for far more often than anyone can
// follow (a run over thousands of small files): shown at most once per
// interval, and always once more after the last request, so that what stays
// in sight is the latest. A screen reader speaks each change it is told of;
// a few a second is what it can speak. Lives on the GUI thread.

#include <QElapsedTimer>
#include <QTimer>

#include <chrono>
#include <functional>

class PacedUpdate {
public:
    static constexpr std::chrono::milliseconds INTERVAL{250};

    explicit PacedUpdate(std::function<void()> show, std::chrono::milliseconds interval = INTERVAL);

    // Shows now when the last showing is an interval ago, else once it is.
    void request();
    // Drops a showing still to come.
    void cancel();

private:
    void showNow();

    std::function<void()> show_;
    std::chrono::milliseconds interval_;
    QTimer pending_;
    QElapsedTimer sinceShown_;
};
