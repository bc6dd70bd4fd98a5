#include "platform/posix/StandardDescriptors.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

bool openClosedStandardDescriptors()
{
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lower ones are open by now, so the lowest free is this one.
        const int opened = open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
        if (opened < 0)
            return false;
        if (opened != descriptor) {
            const bool moved = dup2(opened, descriptor) == descriptor;
            close(opened);
            if (!moved)
                return false;
        }
    }
    return true;
}

} // namespace platform
