#include "console_error.hpp"

#include <cstring>

namespace arrtools {

std::string describe_errno(int error_number) {
    // strerror is not required to be thread-safe; these programs run on one thread.
    return std::strerror(error_number);  // NOLINT(concurrency-mt-unsafe)
}

}  // namespace arrtools
