#pragma once

#include <sys/types.h>
#include <cstddef>
#include <string_view>

namespace arrtools {

// Writes all of `data` to `fd`, completing partial writes and retrying when a signal interrupts.
// Returns 0, or the errno of the write that failed.
[[nodiscard]] int write_fully(int fd, std::string_view data) noexcept;

// One read(2) of up to `size` bytes, retried when a signal interrupts: the byte count, 0 at end
// of input, or -1 with errno set.
[[nodiscard]] ssize_t read_some(int fd, char* data, std::size_t size) noexcept;

}  // namespace arrtools
