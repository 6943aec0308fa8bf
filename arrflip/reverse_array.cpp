#include "reverse_array.hpp"

#include <utility>

namespace arrtools {

void reverseArray(int* a, int n) {
    for (int front = 0, back = n - 1; front < back; ++front, --back) {
        std::swap(a[front], a[back]);
    }
}

}  // namespace arrtools
