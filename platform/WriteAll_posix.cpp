#include "WriteAll.h"

#include <cerrno>
#include <unistd.h>

int WriteAll(int fd, std::string_view bytes, const WrittenPiece& written)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno ? errno : EIO;
        if (n == 0)
            return ENOSPC;
        if (written)
            written(bytes.substr(0, static_cast<std::size_t>(n)));
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}
