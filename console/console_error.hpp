#pragma once

#include <stdexcept>
#include <string>

namespace arrtools {

// A failure that ends the run: bad input, a failed read or write, memory that cannot be had.
// The message names what was being done and what went wrong; the program name is added when
// the failure is reported.
class ConsoleError : public std::runtime_error {
  public:
    explicit ConsoleError(const std::string& message) : std::runtime_error(message) {}
};

// Text of errno value `error_number`, as strerror gives it.
[[nodiscard]] std::string describe_errno(int error_number);

}  // namespace arrtools
