#pragma once
// Running work on the GUI thread from a worker, and a worker beside a GUI
// thread that goes on serving its events.

#include <functional>

class QObject;

namespace gui {

// Runs `work` on the thread of `context` and waits for it; directly when
// called there already. An exception thrown by `work` is rethrown here.
void runOnThreadOf(QObject* context, const std::function<void()>& work);

// Runs `work` on a new thread and serves this thread's events (painting,
// timers, calls from `work` through runOnThreadOf) until it is done; on
// this thread where no new thread can start. `work` must not throw.
void runBesideEventLoop(std::function<void()> work);

} // namespace gui
