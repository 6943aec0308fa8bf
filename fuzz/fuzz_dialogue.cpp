// Arbitrary input through a whole dialogue: the first byte picks arrmeet's, arrjoin's or
// arrflip's, the rest is standard input. Output, status and stderr are checked against a model
// built from sorted sets and a reversed list.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "console.hpp"
#include "find_intersection.hpp"
#include "find_union.hpp"
#include "model.hpp"
#include "reversal_dialogue.hpp"
#include "temp_fd.hpp"
#include "two_array_dialogue.hpp"

namespace {

using arrtools::ReadStatus;

// Larger counts would only test the allocator of the fuzzing run.
constexpr std::int32_t max_count = 1 << 12;

struct Expected {
    bool complete = false;
    std::string out;  // with the result only when complete
};

// Reads the arrays as the model sees them; false where a count is too large to try.
bool model_arrays(std::string_view input, const std::vector<std::string_view>& prompts,
                  std::vector<std::vector<int>>& arrays, std::string& out, bool& complete) {
    std::size_t pos = 0;
    complete = false;
    for (std::size_t i = 0; i < prompts.size(); i += 2) {
        out += prompts[i];
        const arrtools::model::Token count = arrtools::model::next(input, pos);
        if (count.status != ReadStatus::value || count.value < 0) {
            return true;
        }
        if (count.value > max_count) {
            return false;
        }
        out += prompts[i + 1];
        arrays.emplace_back();
        for (std::int32_t j = 0; j < count.value; ++j) {
            const arrtools::model::Token value = arrtools::model::next(input, pos);
            if (value.status != ReadStatus::value) {
                return true;
            }
            arrays.back().push_back(value.value);
        }
    }
    complete = true;
    return true;
}

std::string listed(const std::vector<int>& values) {
    std::string text;
    for (const int v : values) {
        text += std::to_string(v) + ' ';
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const int program = data[0] % 3;
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);

    const std::vector<std::string_view> two_prompts = {
        "Enter the size of the first array: ", "Enter the elements of the first array: ",
        "Enter the size of the second array: ", "Enter the elements of the second array: "};
    const std::vector<std::string_view> one_prompts = {"Enter the size of array: ",
                                                       "Enter the elements of array: "};
    std::vector<std::vector<int>> arrays;
    std::string expected_out;
    bool complete = false;
    if (!model_arrays(input, program == 2 ? one_prompts : two_prompts, arrays, expected_out,
                      complete)) {
        return 0;
    }
    if (complete && program == 2) {
        std::vector<int> reversed(arrays[0].rbegin(), arrays[0].rend());
        expected_out += "Array after get reversed: " + listed(reversed);
    } else if (complete) {
        const std::set<int> a(arrays[0].begin(), arrays[0].end());
        const std::set<int> b(arrays[1].begin(), arrays[1].end());
        std::vector<int> result;
        if (program == 0) {
            std::set_intersection(a.begin(), a.end(), b.begin(), b.end(),
                                  std::back_inserter(result));
            expected_out += "Intersection of the two arrays: ";
        } else {
            std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(result));
            expected_out += "Union of the two arrays: ";
        }
        expected_out += listed(result) + "\n";
    }

    const arrtools::testing::TempFd in(input);
    const arrtools::testing::TempFd out;
    const arrtools::testing::TempFd err;
    arrtools::Console console("prog", in.fd(), out.fd(), err.fd());
    int status = 0;
    if (program == 0) {
        status = run_two_array_dialogue(
            console, "Intersection of the two arrays: ", arrtools::find_intersection);
    } else if (program == 1) {
        status = run_two_array_dialogue(console, "Union of the two arrays: ", arrtools::find_union);
    } else {
        status = run_reversal_dialogue(console);
    }

    const std::string message = err.contents();
    const bool one_error_line = message.starts_with("prog: ") && message.ends_with('\n') &&
                                std::count(message.begin(), message.end(), '\n') == 1;
    if (out.contents() != expected_out || status != (complete ? 0 : 1) ||
        (complete ? !message.empty() : !one_error_line)) {
        __builtin_trap();
    }
    return 0;
}
