#include "Sha256.h"

#include "FileDescriptor.h"

#include <glib.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

std::optional<std::string> sha256OfFile(const std::string& path)
{
    platform::FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    if (!file)
        return std::nullopt;
    std::unique_ptr<GChecksum, decltype(&g_checksum_free)> checksum(g_checksum_new(G_CHECKSUM_SHA256),
                                                                    &g_checksum_free);
    std::vector<unsigned char> buffer(std::size_t{1} << 16);
    for (;;) {
        const ssize_t count = ::read(file.get(), buffer.data(), buffer.size());
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        g_checksum_update(checksum.get(), buffer.data(), count);
    }
    return std::string(g_checksum_get_string(checksum.get()));
}
