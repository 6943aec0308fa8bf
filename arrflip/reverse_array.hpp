#pragma once

namespace arrtools {

// Reverses the `n` values at `a` in place.
void reverseArray(int* a, int n);

}  // namespace arrtools
