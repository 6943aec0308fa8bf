#include "temp_fd.hpp"

#include <sys/mman.h>
#include <unistd.h>

#include <stdexcept>

namespace arrtools::testing {

TempFd::TempFd(std::string_view contents) : fd_(memfd_create("arrtools-test", 0)) {
    if (fd_ < 0 ||
        write(fd_, contents.data(), contents.size()) != static_cast<ssize_t>(contents.size()) ||
        lseek(fd_, 0, SEEK_SET) != 0) {
        throw std::runtime_error("cannot set up a memory file");
    }
}

TempFd::~TempFd() {
    close(fd_);
}

std::string TempFd::contents() const {
    std::string text;
    char chunk[4096];
    for (off_t offset = 0;;) {
        const ssize_t got = pread(fd_, chunk, sizeof chunk, offset);
        if (got <= 0) {
            return text;
        }
        text.append(chunk, static_cast<std::size_t>(got));
        offset += got;
    }
}

}  // namespace arrtools::testing
