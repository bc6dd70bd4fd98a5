#include "platform/posix/FullWrite.h"

#include <unistd.h>

#include <cerrno>

namespace platform {

std::error_code writeFully(int descriptor, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t count = ::write(descriptor, text.data(), text.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return {errno, std::system_category()};
        if (count == 0)
            return std::make_error_code(std::errc::io_error);
        text.remove_prefix(static_cast<std::size_t>(count));
    }
    return {};
}

} // namespace platform
