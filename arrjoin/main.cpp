#include "console.hpp"
#include "find_union.hpp"
#include "two_array_dialogue.hpp"

int main() {
    arrtools::Console console("arrjoin");
    return arrtools::run_two_array_dialogue(console,
                                            "Union of the two arrays: ", arrtools::find_union);
}
