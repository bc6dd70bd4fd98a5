#include "base/RunProgress.h"

void RunMonitor::checkpoint() const
{
    if (cancellation_ && cancellation_->isRequested())
        throw RunCancelled{};
}

void RunMonitor::filesCounted(std::uint64_t bytes)
{
    if (progress_)
        progress_->filesCounted(bytes);
}

void RunMonitor::stepStarted(RunStep step, const std::string& file)
{
    checkpoint();
    if (progress_)
        progress_->stepStarted(step, file);
}

void RunMonitor::bytesCopied(std::size_t bytes)
{
    if (bytes > 0 && progress_) {
        copied_ += bytes;
        progress_->filesCopied(copied_);
    }
    checkpoint();
}
