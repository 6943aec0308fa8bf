#pragma once

#include <memory>

namespace arrtools {

// Every value found in both `a` (m values) and `b` (n values), once each, ascending. Both must
// be sorted ascending. Stores the number of result values in `k`; the result has exactly `k`.
[[nodiscard]] std::unique_ptr<int[]> find_intersection(const int* a, int m, const int* b, int n,
                                                       int& k);

}  // namespace arrtools
