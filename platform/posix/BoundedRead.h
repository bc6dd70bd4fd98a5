#pragma once
// Reading an open file to its end, up to a limit. Files under /proc and /sys
// report no size, and a collected file may grow while it is read, so the
// limit, not the size, bounds the memory.

#include <cstddef>
#include <string>
#include <system_error>

namespace platform {

enum class BoundedReadOutcome {
    complete, // the whole file, within the limit
    tooLarge, // more than `limit` bytes; `data` holds the first `limit`
    failed,   // a read error
};

struct BoundedRead {
    BoundedReadOutcome outcome = BoundedReadOutcome::failed;
    std::string data;
    // The system's reason when the read failed.
    std::error_code error;
};

// Reads `descriptor` from its current position to its end.
BoundedRead readAtMost(int descriptor, std::size_t limit);

} // namespace platform
