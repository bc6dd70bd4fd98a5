#include "core/archive/Sha256.h"

#include "platform/posix/FullIo.h"

#include <glib.h>

#include <memory>
#include <vector>

std::optional<std::string> sha256OfDescriptor(int descriptor, std::error_code& error)
{
    std::unique_ptr<GChecksum, decltype(&g_checksum_free)> checksum(g_checksum_new(G_CHECKSUM_SHA256),
                                                                    &g_checksum_free);
    std::vector<unsigned char> buffer(std::size_t{1} << 16);
    for (off_t offset = 0;;) {
        std::size_t count = 0;
        error = platform::preadFully(descriptor, buffer.data(), buffer.size(), offset, &count);
        if (error)
            return std::nullopt;
        g_checksum_update(checksum.get(), buffer.data(), static_cast<gssize>(count));
        // Short only at the end of the file.
        if (count < buffer.size())
            break;
        offset += static_cast<off_t>(count);
    }
    return std::string(g_checksum_get_string(checksum.get()));
}
