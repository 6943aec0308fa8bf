#include "console.hpp"
#include "reversal_dialogue.hpp"

int main() {
    arrtools::Console console("arrflip");
    return arrtools::run_reversal_dialogue(console);
}
