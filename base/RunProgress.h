#pragma once
// What a run tells its front end as it goes, and the request that stops it.
// Both are optional: a run without them tells nothing and runs to its end.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

// The steps of a run the user can follow, in the order they come.
enum class RunStep {
    copyingFiles,       // the listed files, one after the other
    readingPrinter,     // the device report over USB
    describingComputer, // the general report
    finishing,          // the log, then the archive is closed and named
};

// Called on the run's own thread: an implementation hands the news on to
// its user interface without waiting for it.
class RunProgress {
public:
    virtual ~RunProgress() = default;
    // Before the first file is copied: the bytes of every listed file found.
    virtual void filesCounted(std::uint64_t bytes) = 0;
    // A step begins; while copying, `file` names the file as the collected
    // system names it, and is empty otherwise.
    virtual void stepStarted(RunStep step, const std::string& file) = 0;
    // The bytes of the listed files copied so far, all files together.
    virtual void filesCopied(std::uint64_t bytes) = 0;
};

// A request to stop a run, made from any thread or from a signal handler;
// the run sees it at its next checkpoint.
class CancellationFlag {
public:
    // Async-signal-safe. True for the first request only.
    bool request() noexcept { return !requested_.exchange(true); }
    bool isRequested() const noexcept { return requested_.load(); }
    void clear() noexcept { requested_.store(false); }

private:
    static_assert(std::atomic<bool>::is_always_lock_free);
    std::atomic<bool> requested_{false};
};

// Thrown at a checkpoint once a cancellation was requested. It is no
// failure: the press ends the run quietly, leaving no file behind.
struct RunCancelled {};

// The run's side of both: passes the news on and stops at every checkpoint
// once asked to. Without a progress or a flag it does nothing.
class RunMonitor {
public:
    RunMonitor() = default;
    RunMonitor(RunProgress* progress, const CancellationFlag* cancellation)
        : progress_(progress),
          cancellation_(cancellation)
    {
    }

    // Whether anyone hears the news.
    bool reportsProgress() const { return progress_ != nullptr; }
    // Throws RunCancelled once a cancellation was requested.
    void checkpoint() const;
    void filesCounted(std::uint64_t bytes);
    // A checkpoint first: between files and before each later step.
    void stepStarted(RunStep step, const std::string& file = {});
    // After each block read from a file, then a checkpoint.
    void bytesCopied(std::size_t bytes);

private:
    RunProgress* progress_ = nullptr;
    const CancellationFlag* cancellation_ = nullptr;
    std::uint64_t copied_ = 0;
};
