#include "console.hpp"

#include <unistd.h>

#include "descriptor.hpp"

namespace arrtools {

Console::Console(std::string_view program, int input_fd, int output_fd, int error_fd)
    : program_(program), error_fd_(error_fd), out_(output_fd), in_(input_fd, &out_) {}

int Console::read_count(std::string_view array_name) {
    std::int32_t count = 0;
    const ReadStatus status = in_.read(count);
    const std::string item = "size of " + std::string(array_name);
    if (status == ReadStatus::end_of_input) {
        throw ConsoleError(item + ": end of input, no size given");
    }
    if (status != ReadStatus::value) {
        fail_read(status, item);
    }
    if (count < 0) {
        throw ConsoleError(item + ": found " + std::to_string(count) +
                           ", a size cannot be negative");
    }
    return count;
}

std::unique_ptr<int[]> Console::create_array(int count, std::string_view array_name) {
    try {
        return std::make_unique_for_overwrite<int[]>(static_cast<std::size_t>(count));
    } catch (const std::bad_alloc&) {
        throw ConsoleError(std::string(array_name) + " of " + std::to_string(count) +
                           " values: out of memory");
    }
}

void Console::read_values(int* values, int count, std::string_view array_name) {
    std::size_t stored = 0;
    const ReadStatus status = in_.read_values(values, static_cast<std::size_t>(count), stored);
    if (status == ReadStatus::value) {
        return;
    }
    const std::string item =
        "element " + std::to_string(stored + 1) + " of " + std::string(array_name);
    if (status == ReadStatus::end_of_input) {
        throw ConsoleError(item + ": end of input after " + std::to_string(stored) + " of " +
                           std::to_string(count) + " values");
    }
    fail_read(status, item);
}

void Console::fail_read(ReadStatus status, const std::string& item) const {
    switch (status) {
        case ReadStatus::not_integer:
            throw ConsoleError(item + ": expected an integer, found " + quote(in_.token()));
        case ReadStatus::out_of_range:
            throw ConsoleError(item + ": found " + quote(in_.token()) +
                               ", outside the 32-bit range -2147483648 to 2147483647");
        case ReadStatus::read_error:
            throw ConsoleError(
                item + ": cannot read standard input: " + describe_errno(in_.error_number()));
        case ReadStatus::end_of_input:
        case ReadStatus::value:
            break;
    }
    throw ConsoleError(item + ": end of input");
}

void Console::report(std::string_view message) noexcept {
    try {
        // The prompts written before the failed read belong on standard output.
        out_.flush();
    } catch (const ConsoleError&) {
        // Output has failed as well; the failure that stopped the run is the one to report.
    }
    try {
        std::string line;
        if (isatty(error_fd_) == 1 && !out_.at_line_start()) {
            line += '\n';
        }
        line.append(program_).append(": ").append(message).append("\n");
        // Standard error that cannot be written leaves only the exit status to tell.
        static_cast<void>(write_fully(error_fd_, line));
    } catch (const std::bad_alloc&) {
        // Nothing is left to say it with; the exit status still tells.
    }
}

std::string quote(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte >= 0x20 && byte < 0x7F) {
            quoted += c;
        } else {
            constexpr std::string_view hex = "0123456789ABCDEF";
            quoted += "\\x";
            quoted += hex[byte >> 4U];
            quoted += hex[byte & 0x0FU];
        }
    }
    quoted += '"';
    return quoted;
}

}  // namespace arrtools
