#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <string>
#include <string_view>

namespace arrtools::fuzzing {

// A file in memory holding `contents`, read from its start; closed when this goes.
class MemoryFile {
  public:
    explicit MemoryFile(std::string_view contents = {}) : fd_(memfd_create("fuzz", 0)) {
        if (fd_ < 0 ||
            write(fd_, contents.data(), contents.size()) != static_cast<ssize_t>(contents.size())) {
            __builtin_trap();
        }
        lseek(fd_, 0, SEEK_SET);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;
    ~MemoryFile() { close(fd_); }

    [[nodiscard]] int fd() const { return fd_; }

    [[nodiscard]] std::string contents() const {
        std::string text(static_cast<std::size_t>(lseek(fd_, 0, SEEK_END)), '\0');
        if (pread(fd_, text.data(), text.size(), 0) != static_cast<ssize_t>(text.size())) {
            __builtin_trap();
        }
        return text;
    }

  private:
    int fd_;
};

}  // namespace arrtools::fuzzing
