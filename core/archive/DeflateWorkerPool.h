#pragma once
// Threads that compress, each with a deflate stream of its own.

#include "core/archive/BlockDeflater.h"

#include <condition_variable>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class DeflateWorkerPool {
public:
    using Task = std::packaged_task<void(BlockDeflater&)>;

    // One thread per processor this process may run on, at least one.
    static unsigned threadsForThisMachine();

    // Fewer threads when the system will not start that many (a process
    // limit); with none, each task runs on the caller's thread as it is
    // submitted, so that a report never fails for want of a thread. Code 15
    // when zlib cannot set up a stream.
    explicit DeflateWorkerPool(unsigned threads);
    // Waits for the tasks being run; tasks not yet started are dropped, and
    // their futures report a broken promise.
    ~DeflateWorkerPool();
    DeflateWorkerPool(const DeflateWorkerPool&) = delete;
    DeflateWorkerPool& operator=(const DeflateWorkerPool&) = delete;

    // Runs `task` on the next free thread. Tasks start in the order given.
    std::future<void> submit(Task task);
    // The threads that were started; 0 when the caller's thread does the work.
    std::size_t threadCount() const { return threads_.size(); }

private:
    void work(BlockDeflater& deflater);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Task> tasks_;
    bool stopping_ = false;
    std::vector<std::unique_ptr<BlockDeflater>> deflaters_;
    std::vector<std::jthread> threads_;
};
