#include "output_writer.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <bit>
#include <cstring>
#include <string>

#include "console_error.hpp"
#include "descriptor.hpp"

namespace arrtools {
namespace {

constexpr std::array<std::uint32_t, 9> all_nines = {9,      99,      999,      9999,     99999,
                                                    999999, 9999999, 99999999, 999999999};

// The number of decimal digits of `value`: 9/32 is close below log10(2), so the estimate from
// the bit length is the digit count less one, or one less than that.
constexpr unsigned count_digits(std::uint32_t value) noexcept {
    const unsigned estimate = (9U * static_cast<unsigned>(std::bit_width(value | 1U) - 1)) >> 5U;
    return estimate + static_cast<unsigned>(value > all_nines[estimate]) + 1;
}

// Entry v is the text of v (below 10^4) in four digits, leading zeros included, the first digit
// in the lowest byte: a value's digits are looked up four at a time.
constexpr std::array<std::uint32_t, 10000> four_digits = [] {
    std::array<std::uint32_t, 10000> table{};
    for (std::uint32_t v = 0; v < table.size(); ++v) {
        table[v] = (0x30U + v / 1000) | (0x30U + v / 100 % 10) << 8U |
                   (0x30U + v / 10 % 10) << 16U | (0x30U + v % 10) << 24U;
    }
    return table;
}();

}  // namespace

char* format_decimal(char* out, std::int32_t value) noexcept {
    // Signs and digit counts come in random order in real data: no branch depends on either.
    const bool negative = value < 0;
    auto magnitude = static_cast<std::uint32_t>(value);
    magnitude = negative ? 0U - magnitude : magnitude;
    *out = '-';
    out += static_cast<int>(negative);
    const unsigned digits = count_digits(magnitude);
    // The two digits above 10^8, then the other eight, leading zeros included and the first in
    // the lowest byte. Of the leading zeros, those of the two leave through the first shift and
    // the rest through the second; the eight bytes stored last overwrite what the first store
    // left beyond the digits.
    const std::uint32_t top = magnitude / 100'000'000;
    const std::uint32_t low = magnitude % 100'000'000;
    const std::uint64_t low_text =
        four_digits[low / 10000] | (std::uint64_t{four_digits[low % 10000]} << 32U);
    const unsigned zeros = 10 - digits;
    const unsigned top_zeros = zeros < 2 ? zeros : 2;
    const auto head =
        static_cast<std::uint16_t>(std::uint64_t{four_digits[top]} >> (16U + 8U * top_zeros));
    const std::uint64_t rest = low_text >> (8U * (zeros - top_zeros));
    std::memcpy(out, &head, sizeof head);
    std::memcpy(out + 2 - top_zeros, &rest, sizeof rest);
    return out + digits;
}

OutputWriter::OutputWriter(int fd, std::size_t capacity)
    : fd_(fd),
      to_terminal_(isatty(fd) == 1),
      capacity_(capacity < max_value_text ? max_value_text : capacity),
      buffer_(std::make_unique_for_overwrite<char[]>(capacity_)),
      pos_(buffer_.get()) {
    // A pipe that holds a whole buffer takes each flush in one write, without waiting for the
    // reader to drain it piece by piece. Where the pipe cannot grow, it works as it is.
    struct stat status {};
    if (fstat(fd, &status) == 0 && S_ISFIFO(status.st_mode)) {
        const auto pipe_size = static_cast<int>(capacity_);
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): fcntl's C interface is variadic.
        static_cast<void>(fcntl(fd, F_SETPIPE_SZ, pipe_size));
    }
}

void OutputWriter::write(std::string_view text) {
    while (!text.empty()) {
        const auto room = static_cast<std::size_t>(buffer_.get() + capacity_ - pos_);
        if (room == 0) {
            flush();
            continue;
        }
        const std::size_t part = text.size() < room ? text.size() : room;
        std::memcpy(pos_, text.data(), part);
        pos_ += part;
        text.remove_prefix(part);
    }
}

void OutputWriter::write_values(const int* values, int count) {
    const char* const limit = buffer_.get() + capacity_ - max_value_text;
    char* p = pos_;
    for (int i = 0; i < count; ++i) {
        if (p > limit) {
            pos_ = p;
            flush();
            p = pos_;
        }
        p = format_decimal(p, values[i]);
        *p++ = ' ';
    }
    pos_ = p;
}

void OutputWriter::flush() {
    const auto size = static_cast<std::size_t>(pos_ - buffer_.get());
    pos_ = buffer_.get();
    if (size == 0 || failed_) {
        return;
    }
    if (const int error = write_fully(fd_, {buffer_.get(), size}); error != 0) {
        failed_ = true;
        throw ConsoleError("cannot write standard output: " + describe_errno(error));
    }
    if (to_terminal_) {
        at_line_start_ = buffer_[size - 1] == '\n';
    }
}

void OutputWriter::note_echo(std::string_view chunk) noexcept {
    if (!chunk.empty()) {
        at_line_start_ = chunk.back() == '\n';
    }
}

}  // namespace arrtools
