#include "find_union.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

namespace arrtools {

std::unique_ptr<int[]> find_union(const int* a, int m, const int* b, int n, int& k) {
    const std::int64_t total = std::int64_t{m} + n;
    if (total > std::numeric_limits<int>::max()) {
        throw std::length_error("more than " + std::to_string(std::numeric_limits<int>::max()) +
                                " values in all");
    }
    const auto size = static_cast<std::size_t>(total);
    auto merged = std::make_unique_for_overwrite<int[]>(size);
    // Sorted inputs, as the dialogue gives them, merge in linear time into the same array that
    // sorting their concatenation would give.
    if (std::is_sorted(a, a + m) && std::is_sorted(b, b + n)) {
        std::merge(a, a + m, b, b + n, merged.get());
    } else {
        std::copy_n(b, n, std::copy_n(a, m, merged.get()));
        std::sort(merged.get(), merged.get() + size);
    }
    auto result = std::make_unique_for_overwrite<int[]>(size);
    k = static_cast<int>(std::unique_copy(merged.get(), merged.get() + size, result.get()) -
                         result.get());
    return result;
}

}  // namespace arrtools
