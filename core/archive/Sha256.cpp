#include "core/archive/Sha256.h"

#include <glib.h>

#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

std::optional<std::string> sha256OfDescriptor(int descriptor)
{
    std::unique_ptr<GChecksum, decltype(&g_checksum_free)> checksum(g_checksum_new(G_CHECKSUM_SHA256),
                                                                    &g_checksum_free);
    std::vector<unsigned char> buffer(std::size_t{1} << 16);
    for (off_t offset = 0;;) {
        const ssize_t count = ::pread(descriptor, buffer.data(), buffer.size(), offset);
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        g_checksum_update(checksum.get(), buffer.data(), count);
        offset += count;
    }
    return std::string(g_checksum_get_string(checksum.get()));
}
