// The least time a two-array run can take: the two sorts and the operation, on values already
// in memory. Reads a generated input file (untimed) and prints the median of several rounds.
//   bench_compute_floor meet|join FILE ROUNDS
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "find_intersection.hpp"
#include "find_union.hpp"

namespace {

std::vector<int> read_array(std::ifstream& in) {
    int count = 0;
    in >> count;
    std::vector<int> values(static_cast<std::size_t>(count));
    for (int& v : values) {
        in >> v;
    }
    return values;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: bench_compute_floor meet|join FILE ROUNDS\n", stderr);
        return 2;
    }
    const auto operation =
        std::string_view(argv[1]) == "meet" ? arrtools::find_intersection : arrtools::find_union;
    std::ifstream in(argv[2]);
    const std::vector<int> first = read_array(in);
    const std::vector<int> second = read_array(in);
    std::vector<double> seconds;
    for (int round = 0; round < std::stoi(argv[3]); ++round) {
        std::vector<int> a = first;
        std::vector<int> b = second;
        const auto start = std::chrono::steady_clock::now();
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        int k = 0;
        const auto result = operation(a.data(), static_cast<int>(a.size()), b.data(),
                                      static_cast<int>(b.size()), k);
        const auto stop = std::chrono::steady_clock::now();
        seconds.push_back(std::chrono::duration<double>(stop - start).count());
        if (k < 0 || (k > 0 && result[0] > result[static_cast<std::size_t>(k) - 1])) {
            return 1;
        }
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("%.6f\n", seconds[seconds.size() / 2]);
    return 0;
}
