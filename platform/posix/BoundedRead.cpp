#include "platform/posix/BoundedRead.h"

#include <unistd.h>

#include <cerrno>

namespace platform {

BoundedRead readAtMost(int descriptor, std::size_t limit)
{
    BoundedRead result;
    char chunk[65536];
    for (;;) {
        // One byte beyond the limit tells a file that is too large from one
        // that ends exactly there.
        const std::size_t left = limit - result.data.size();
        const std::size_t wanted = left < sizeof chunk ? left + 1 : sizeof chunk;
        ssize_t count = ::read(descriptor, chunk, wanted);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            result.error = {errno, std::system_category()};
            result.data.clear();
            result.outcome = BoundedReadOutcome::failed;
            return result;
        }
        if (count == 0) {
            result.outcome = BoundedReadOutcome::complete;
            return result;
        }
        result.data.append(chunk, static_cast<std::size_t>(count));
        if (result.data.size() > limit) {
            result.data.resize(limit);
            result.outcome = BoundedReadOutcome::tooLarge;
            return result;
        }
    }
}

} // namespace platform
