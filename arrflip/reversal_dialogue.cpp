#include "reversal_dialogue.hpp"

#include "reverse_array.hpp"

namespace arrtools {

int run_reversal_dialogue(Console& console) {
    return console.run([&] {
        OutputWriter& out = console.out();
        out.write("Enter the size of array: ");
        const int n = console.read_count("the array");
        const std::unique_ptr<int[]> values = console.create_array(n, "the array");
        out.write("Enter the elements of array: ");
        console.read_values(values.get(), n, "the array");
        reverseArray(values.get(), n);
        out.write("Array after get reversed: ");
        out.write_values(values.get(), n);
    });
}

}  // namespace arrtools
