#include "find_intersection.hpp"

#include <algorithm>
#include <cstddef>

namespace arrtools {

std::unique_ptr<int[]> find_intersection(const int* a, int m, const int* b, int n, int& k) {
    const auto a_size = static_cast<std::size_t>(m);
    const auto b_size = static_cast<std::size_t>(n);
    // Reserved for the larger count; only the matches found touch its pages.
    auto scratch = std::make_unique_for_overwrite<int[]>(std::max(a_size, b_size));
    std::size_t i = 0;
    std::size_t j = 0;
    std::size_t found = 0;
    while (i < a_size && j < b_size) {
        if (a[i] == b[j]) {
            // Repeats on both sides match pairwise; each later match finds its value stored last.
            if (found == 0 || scratch[found - 1] != a[i]) {
                scratch[found++] = a[i];
            }
            ++i;
            ++j;
        } else if (a[i] < b[j]) {
            ++i;
        } else {
            ++j;
        }
    }
    auto result = std::make_unique_for_overwrite<int[]>(found);
    std::copy_n(scratch.get(), found, result.get());
    k = static_cast<int>(found);
    return result;
}

}  // namespace arrtools
