#pragma once

#include <memory>
#include <string_view>

#include "console.hpp"

namespace arrtools {

// Combines two arrays into a new one: given (first array, its count, second array, its count,
// a count variable), it leaves both arrays as they are, stores the number of result values in
// the count variable and returns the result, which may have room for more values than that.
using TwoArrayOperation = std::unique_ptr<int[]> (*)(const int* a, int m, const int* b, int n,
                                                     int& k);

// Asks for and reads two arrays, sorts both, combines them with `operation` and writes the
// result after `label` on one line. Returns the exit status.
[[nodiscard]] int run_two_array_dialogue(Console& console, std::string_view label,
                                         TwoArrayOperation operation);

}  // namespace arrtools
