#include "app/FileProbe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tarvo {

bool SystemFileProbe::probeReadable(const std::string& name)
{
    if (name.empty())
        return false;
    // Anything but a regular file is left unopened: opening a FIFO would release a writer
    // blocked on it, and opening a device may act on it. A name that changes kind between the
    // two calls still cannot block or take a terminal because of the open flags.
    struct stat st = {};
    if (::stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    int fd = -1;
    do
        fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return regular;
}

} // namespace tarvo
