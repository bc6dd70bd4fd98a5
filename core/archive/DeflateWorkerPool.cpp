#include "core/archive/DeflateWorkerPool.h"

#include "platform/posix/SignalsBlocked.h"

#include <sched.h>

#include <algorithm>
#include <system_error>

unsigned DeflateWorkerPool::threadsForThisMachine()
{
    unsigned processors = std::thread::hardware_concurrency();
    // A process held to fewer processors (taskset, a container's cpuset)
    // gains nothing from more threads than it may run at once.
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) {
        const auto count = static_cast<unsigned>(CPU_COUNT(&allowed));
        if (count > 0)
            processors = processors == 0 ? count : std::min(processors, count);
    }
    return std::max(processors, 1u);
}

DeflateWorkerPool::DeflateWorkerPool(unsigned threads)
{
    // The streams are made here, so that a failure to make one reaches the
    // caller rather than ending a thread.
    const unsigned count = std::max(threads, 1u);
    deflaters_.reserve(count);
    for (unsigned i = 0; i < count; ++i)
        deflaters_.push_back(std::make_unique<BlockDeflater>());
    if (threads == 0)
        return;
    threads_.reserve(count);
    // Signals sent to the process (SIGINT, SIGTERM, ...) then reach the
    // caller's threads only, which hold them back while the archive is being
    // named. Faults a thread causes itself still reach it.
    const platform::SignalsBlocked inheritedByTheThreads(
        platform::SignalsBlocked::allBut({SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGABRT, SIGSYS}));
    try {
        for (auto& deflater : deflaters_)
            threads_.emplace_back([this, &deflater = *deflater] { work(deflater); });
    } catch (const std::system_error&) {
        // Out of threads (a process limit): the ones started do the work,
        // or, with none, the caller's thread.
    }
}

DeflateWorkerPool::~DeflateWorkerPool()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        tasks_.clear();
    }
    wake_.notify_all();
    threads_.clear(); // joins
}

std::future<void> DeflateWorkerPool::submit(Task task)
{
    std::future<void> done = task.get_future();
    if (threads_.empty()) {
        // A failure is kept in the task's future, as on a thread.
        task(*deflaters_.front());
        return done;
    }
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    wake_.notify_one();
    return done;
}

void DeflateWorkerPool::work(BlockDeflater& deflater)
{
    for (;;) {
        Task task;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
            if (stopping_)
                return;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        // A failure is kept in the task's future.
        task(deflater);
    }
}
