#include "descriptor.hpp"

#include <unistd.h>

#include <cerrno>

namespace arrtools {

int write_fully(int fd, std::string_view data) noexcept {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

ssize_t read_some(int fd, char* data, std::size_t size) noexcept {
    for (;;) {
        const ssize_t got = ::read(fd, data, size);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

}  // namespace arrtools
