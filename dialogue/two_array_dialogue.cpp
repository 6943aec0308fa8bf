#include "two_array_dialogue.hpp"

#include <algorithm>
#include <exception>
#include <new>
#include <string>

namespace arrtools {
namespace {

struct IntArray {
    std::unique_ptr<int[]> values;
    int count = 0;
};

IntArray read_array(Console& console, std::string_view size_prompt,
                    std::string_view elements_prompt, std::string_view name) {
    console.out().write(size_prompt);
    IntArray array;
    array.count = console.read_count(name);
    array.values = console.create_array(array.count, name);
    console.out().write(elements_prompt);
    console.read_values(array.values.get(), array.count, name);
    return array;
}

// The operation's own failures (memory, a result too large to count) end the run with a
// message that says what was being combined.
std::unique_ptr<int[]> combine(TwoArrayOperation operation, const IntArray& first,
                               const IntArray& second, int& k) {
    try {
        return operation(first.values.get(), first.count, second.values.get(), second.count, k);
    } catch (const std::exception& failure) {
        const bool out_of_memory = dynamic_cast<const std::bad_alloc*>(&failure) != nullptr;
        throw ConsoleError("combining arrays of " + std::to_string(first.count) + " and " +
                           std::to_string(second.count) +
                           " values: " + (out_of_memory ? "out of memory" : failure.what()));
    }
}

}  // namespace

int run_two_array_dialogue(Console& console, std::string_view label, TwoArrayOperation operation) {
    return console.run([&] {
        IntArray first = read_array(console, "Enter the size of the first array: ",
                                    "Enter the elements of the first array: ", "the first array");
        IntArray second =
            read_array(console, "Enter the size of the second array: ",
                       "Enter the elements of the second array: ", "the second array");
        std::sort(first.values.get(), first.values.get() + first.count);
        std::sort(second.values.get(), second.values.get() + second.count);

        int k = 0;
        const std::unique_ptr<int[]> result = combine(operation, first, second, k);

        OutputWriter& out = console.out();
        out.write(label);
        out.write_values(result.get(), k);
        out.write("\n");
        out.flush();
    });
}

}  // namespace arrtools
