#pragma once

#include "console.hpp"

namespace arrtools {

// Asks for and reads one array, reverses it and writes it after its label, with no newline at
// the end. Returns the exit status.
[[nodiscard]] int run_reversal_dialogue(Console& console);

}  // namespace arrtools
