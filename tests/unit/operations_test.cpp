#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <ostream>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "find_intersection.hpp"
#include "find_union.hpp"
#include "reverse_array.hpp"

namespace arrtools {
namespace {

using Values = std::vector<int>;
using Operation = std::unique_ptr<int[]> (*)(const int*, int, const int*, int, int&);

// Runs `operation` and checks that it left both inputs as they were.
Values call(Operation operation, const Values& a, const Values& b) {
    const Values a_before = a;
    const Values b_before = b;
    int k = -1;
    const std::unique_ptr<int[]> result =
        operation(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), k);
    EXPECT_EQ(a, a_before);
    EXPECT_EQ(b, b_before);
    return {result.get(), result.get() + k};
}

struct PairCase {
    const char* name;
    Values a;
    Values b;
    Values intersection;
    Values union_of;
};

void PrintTo(const PairCase& c, std::ostream* os) {
    *os << c.name;
}

// Inputs sorted, as the dialogue passes them.
const std::vector<PairCase> pair_cases = {
    {"both_empty", {}, {}, {}, {}},
    {"first_empty", {}, {1, 1, 2}, {}, {1, 2}},
    {"second_empty", {3, 3}, {}, {}, {3}},
    {"nothing_in_common", {1, 3, 5}, {2, 4, 6}, {}, {1, 2, 3, 4, 5, 6}},
    {"repeats_on_both_sides", {1, 2, 2, 3}, {2, 2, 2, 4}, {2}, {1, 2, 3, 4}},
    {"negative_values", {-5, 3}, {-5, -1}, {-5}, {-5, -1, 3}},
    {"equal_with_repeats", {1, 1, 2, 7, 7, 7}, {1, 1, 2, 7, 7, 7}, {1, 2, 7}, {1, 2, 7}},
    {"extremes",
     {INT_MIN, 0, INT_MAX},
     {INT_MIN, INT_MAX},
     {INT_MIN, INT_MAX},
     {INT_MIN, 0, INT_MAX}},
    {"one_side_ends_first", {1, 2}, {2, 3, 4, 5}, {2}, {1, 2, 3, 4, 5}},
    {"common_value_at_the_end", {1, 9}, {5, 9}, {9}, {1, 5, 9}},
};

class PairTable : public ::testing::TestWithParam<PairCase> {};

TEST_P(PairTable, Intersection) {
    EXPECT_EQ(call(find_intersection, GetParam().a, GetParam().b), GetParam().intersection);
}

TEST_P(PairTable, Union) {
    EXPECT_EQ(call(find_union, GetParam().a, GetParam().b), GetParam().union_of);
}

INSTANTIATE_TEST_SUITE_P(SortedInputs, PairTable, ::testing::ValuesIn(pair_cases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(FindUnion, DoesNotRelyOnSortedInput) {
    EXPECT_EQ(call(find_union, {3, 1, 3}, {2, 1}), (Values{1, 2, 3}));
    EXPECT_EQ(call(find_union, {1, 2, 3}, {9, -4, 2}), (Values{-4, 1, 2, 3, 9}));
}

TEST(FindUnion, RefusesCountsWhoseSumLeavesTheIntRange) {
    // The counts are checked before any value is looked at.
    int k = 0;
    EXPECT_THROW(static_cast<void>(find_union(nullptr, INT_MAX, nullptr, 1, k)), std::length_error);
    EXPECT_THROW(
        static_cast<void>(find_union(nullptr, INT_MAX / 2 + 1, nullptr, INT_MAX / 2 + 1, k)),
        std::length_error);
}

// Random inputs from a small range, so that repeats and common values are many, checked
// against sets; the union is also given the same inputs unsorted.
TEST(Operations, AgreeWithSetsOnRandomInput) {
    std::mt19937 random(12345);
    for (int round = 0; round < 200; ++round) {
        std::uniform_int_distribution<int> size(0, 60);
        std::uniform_int_distribution<int> value(-20, 20);
        Values a(static_cast<std::size_t>(size(random)));
        Values b(static_cast<std::size_t>(size(random)));
        std::generate(a.begin(), a.end(), [&] { return value(random); });
        std::generate(b.begin(), b.end(), [&] { return value(random); });

        const std::set<int> a_set(a.begin(), a.end());
        const std::set<int> b_set(b.begin(), b.end());
        Values common;
        std::set_intersection(a_set.begin(), a_set.end(), b_set.begin(), b_set.end(),
                              std::back_inserter(common));
        std::set<int> either = a_set;
        either.insert(b_set.begin(), b_set.end());
        const Values all(either.begin(), either.end());

        EXPECT_EQ(call(find_union, a, b), all) << "unsorted, round " << round;
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        EXPECT_EQ(call(find_intersection, a, b), common) << "round " << round;
        EXPECT_EQ(call(find_union, a, b), all) << "sorted, round " << round;
    }
}

TEST(ReverseArray, ReversesInPlace) {
    const std::vector<std::pair<Values, Values>> cases = {
        {{}, {}},
        {{7}, {7}},
        {{1, 2}, {2, 1}},
        {{1, 2, 3}, {3, 2, 1}},
        {{1, 2, 3, 4}, {4, 3, 2, 1}},
        {{INT_MIN, 0, 5, 5, INT_MAX}, {INT_MAX, 5, 5, 0, INT_MIN}},
    };
    for (auto [values, reversed] : cases) {
        reverseArray(values.data(), static_cast<int>(values.size()));
        EXPECT_EQ(values, reversed);
    }
}

}  // namespace
}  // namespace arrtools
