#include "app/GuiThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <exception>
#include <memory>

namespace gui {

void runOnThreadOf(QObject* context, const std::function<void()>& work)
{
    if (QThread::currentThread() == context->thread()) {
        work();
        return;
    }
    // An exception must not cross Qt's event dispatching; carry it back.
    std::exception_ptr failure;
    QMetaObject::invokeMethod(
        context,
        [&] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (failure)
        std::rethrow_exception(failure);
}

void runBesideEventLoop(std::function<void()> work)
{
    bool done = false;
    QObject receiver;
    std::unique_ptr<QThread> worker(QThread::create(work));
    QObject::connect(
        worker.get(), &QThread::finished, &receiver, [&done] { done = true; }, Qt::QueuedConnection);
    worker->start();
    if (!worker->isRunning() && !worker->isFinished()) {
        // No thread to be had (a limit on processes): the work runs here,
        // and the window waits for it rather than for a thread that never
        // comes.
        work();
        return;
    }
    // Not a nested QEventLoop::exec(): a request to leave the application
    // ends every running event loop at once, and waiting for the worker then
    // would deadlock as soon as it asks this thread for a message box. This
    // loop only ends with the worker.
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    worker->wait();
}

} // namespace gui
