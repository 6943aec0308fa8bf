#pragma once

#include <memory>

namespace arrtools {

// Every value found in `a` (m values) or `b` (n values), once each, ascending; the inputs need
// not be sorted. Stores the number of result values in `k`; the result has room for m + n.
// Throws std::length_error when m + n leaves the range of int.
[[nodiscard]] std::unique_ptr<int[]> find_union(const int* a, int m, const int* b, int n, int& k);

}  // namespace arrtools
