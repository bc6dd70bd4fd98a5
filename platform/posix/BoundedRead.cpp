#include "platform/posix/BoundedRead.h"

#include "platform/posix/FullIo.h"

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
        std::size_t count = 0;
        result.error = readFully(descriptor, chunk, wanted, &count);
        if (result.error) {
            result.data.clear();
            result.outcome = BoundedReadOutcome::failed;
            return result;
        }
        result.data.append(chunk, count);
        if (result.data.size() > limit) {
            result.data.resize(limit);
            result.outcome = BoundedReadOutcome::tooLarge;
            return result;
        }
        // Short only at the end of the file.
        if (count < wanted) {
            result.outcome = BoundedReadOutcome::complete;
            return result;
        }
    }
}

} // namespace platform
