// arrflip the plain way: std::cin >> and std::cout <<, unsynchronised from stdio.
#include <iostream>
#include <memory>

#include "reverse_array.hpp"

int main() {
    std::ios::sync_with_stdio(false);
    int n = 0;
    std::cout << "Enter the size of array: " << std::flush;
    std::cin >> n;
    auto values = std::make_unique_for_overwrite<int[]>(static_cast<std::size_t>(n));
    std::cout << "Enter the elements of array: " << std::flush;
    for (int i = 0; i < n; ++i) {
        std::cin >> values[static_cast<std::size_t>(i)];
    }
    arrtools::reverseArray(values.get(), n);
    std::cout << "Array after get reversed: ";
    for (int i = 0; i < n; ++i) {
        std::cout << values[static_cast<std::size_t>(i)] << ' ';
    }
    return 0;
}
