#include "console.hpp"
#include "find_intersection.hpp"
#include "two_array_dialogue.hpp"

int main() {
    arrtools::Console console("arrmeet");
    return arrtools::run_two_array_dialogue(
        console, "Intersection of the two arrays: ", arrtools::find_intersection);
}
