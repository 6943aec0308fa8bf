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

// The number of decimal digits of `value`: 9/32 is close below log10(2), so the estimate from
// the bit length is the digit count less one, or one less than that.
constexpr unsigned count_digits(std::uint32_t value) noexcept {
    constexpr std::array<std::uint32_t, 9> all_nines = {9,      99,      999,      9999,     99999,
                                                        999999, 9999999, 99999999, 999999999};
    const unsigned estimate = (9U * static_cast<unsigned>(std::bit_width(value | 1U) - 1)) >> 5U;
    return estimate + static_cast<unsigned>(value > all_nines[estimate]) + 1;
}

// The eight decimal digits of `value` (below 10^8), leading zeros included, as ASCII with the
// first digit in the lowest byte. Both four-digit halves are split at once, in 32-bit lanes, then
// into two-digit and one-digit lanes; each step divides by a multiply and a shift that are exact
// for the lane's range.
constexpr std::uint64_t eight_digits(std::uint32_t value) noexcept {
    std::uint64_t lanes = (value / 10000) | (std::uint64_t{value % 10000} << 32U);
    std::uint64_t high = ((lanes * 10486) >> 20U) & 0x0000007F0000007F;
    lanes = high | ((lanes - high * 100) << 16U);
    high = ((lanes * 103) >> 10U) & 0x000F000F000F000F;
    lanes = high | ((lanes - high * 10) << 8U);
    return lanes | 0x3030303030303030;
}

}  // namespace

char* format_decimal(char* out, std::int32_t value) noexcept {
    // Signs come in random order in real data: write one without a branch.
    const bool negative = value < 0;
    auto magnitude = static_cast<std::uint32_t>(value);
    magnitude = negative ? 0U - magnitude : magnitude;
    *out = '-';
    out += static_cast<int>(negative);
    const unsigned digits = count_digits(magnitude);
    if (digits <= 8) {
        // The unwanted leading zeros leave through the shift; all eight bytes are stored.
        const std::uint64_t text = eight_digits(magnitude) >> (8U * (8U - digits));
        std::memcpy(out, &text, sizeof text);
        return out + digits;
    }
    const std::uint32_t top = magnitude / 100'000'000;
    const std::uint64_t rest = eight_digits(magnitude % 100'000'000);
    if (top >= 10) {
        out[0] = static_cast<char>('0' + top / 10);
        out[1] = static_cast<char>('0' + top % 10);
    } else {
        out[0] = static_cast<char>('0' + top);
    }
    std::memcpy(out + digits - 8, &rest, sizeof rest);
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
