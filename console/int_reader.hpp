#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace arrtools {

class OutputWriter;

enum class ReadStatus {
    value,         // an integer in the 32-bit signed range was read
    not_integer,   // the next token does not start with an integer
    out_of_range,  // an integer outside the 32-bit signed range
    end_of_input,  // only blanks were left
    read_error,    // the descriptor could not be read
};

// Reads whitespace-separated decimal integers from a file descriptor: blanks of every kind are
// skipped, then an optional sign and decimal digits are taken, and the value ends where its
// digits end. It reads from the descriptor only when it needs more bytes to finish the value it
// is reading, so nothing beyond the last value asked for is waited for. Before each read it
// flushes the tied writer, so that a prompt is visible before the program waits.
class IntReader {
public:
    static constexpr std::size_t default_capacity = std::size_t{1} << 18;

    explicit IntReader(int fd, OutputWriter* tied = nullptr,
                       std::size_t capacity = default_capacity);

    [[nodiscard]] ReadStatus read(std::int32_t& value);

    // After not_integer: the token up to the next blank. After out_of_range: the sign and the
    // significant digits. Both cut short past `max_token_text` bytes, with "..." added.
    [[nodiscard]] const std::string& token() const noexcept { return token_; }

    // After read_error: the errno of the failed read.
    [[nodiscard]] int error_number() const noexcept { return error_number_; }

    static constexpr std::size_t max_token_text = 40;

private:
    // Bytes past the end of the data that the fast path may load: they are zero, and zero is
    // neither a blank nor a digit, so every scan stops at the end of the data.
    static constexpr std::size_t padding = 16;

    [[nodiscard]] ReadStatus read_slow(std::int32_t& value);
    [[nodiscard]] bool refill();
    [[nodiscard]] bool next_byte(char& byte);
    void keep_token_byte(char byte);
    [[nodiscard]] ReadStatus finish_bad_token();

    int fd_;
    OutputWriter* tied_;
    bool echoes_;
    bool ended_ = false;
    int error_number_ = 0;
    std::size_t capacity_;
    std::unique_ptr<char[]> buffer_;
    const char* pos_;
    const char* end_;
    std::string token_;
};

namespace detail {

constexpr bool is_blank(char c) noexcept { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Eight bytes starting at `p`, the first in the lowest byte.
inline std::uint64_t load8(const char* p) noexcept {
    static_assert(std::endian::native == std::endian::little, "digit scanning assumes little endian");
    std::uint64_t chunk = 0;
    std::memcpy(&chunk, p, sizeof chunk);
    return chunk;
}

// How many of the eight bytes of `chunk`, from the first, are decimal digits before the first
// byte that is not. A byte is a digit when it is below 0x80, not below '0' and not above '9';
// carries and borrows only run from the first non-digit upwards, so the bytes before it are
// judged exactly.
constexpr unsigned leading_digits(std::uint64_t chunk) noexcept {
    constexpr std::uint64_t high_bits = 0x8080808080808080;
    const std::uint64_t not_digit =
        (chunk | (chunk + 0x4646464646464646) | (chunk - 0x3030303030303030)) & high_bits;
    return not_digit == 0 ? 8U : static_cast<unsigned>(std::countr_zero(not_digit)) / 8U;
}

// The value of the first `count` (1 to 8) digits of `chunk`.
constexpr std::uint32_t digits_value(std::uint64_t chunk, unsigned count) noexcept {
    chunk <<= 8U * (8U - count);  // the unused bytes leave; leading zero bytes count as 0
    chunk = ((chunk & 0x0F0F0F0F0F0F0F0F) * 2561) >> 8U;
    chunk = ((chunk & 0x00FF00FF00FF00FF) * 6553601) >> 16U;
    return static_cast<std::uint32_t>(((chunk & 0x0000FFFF0000FFFF) * 42949672960001) >> 32U);
}

}  // namespace detail

inline ReadStatus IntReader::read(std::int32_t& value) {
    // Fast path: a whole token that lies inside the buffer and is a valid value. Anything else
    // (the end of the buffer, a bad token, a value out of range) goes the careful way.
    const char* p = pos_;
    while (detail::is_blank(*p)) {
        ++p;
    }
    const char* const start = p;
    const bool negative = *p == '-';
    if (negative || *p == '+') {
        ++p;
    }
    const char* const digits = p;
    while (*p == '0') {
        ++p;
    }
    std::uint64_t magnitude = 0;
    const std::uint64_t first = detail::load8(p);
    const unsigned first_count = detail::leading_digits(first);
    if (first_count > 0) {
        magnitude = detail::digits_value(first, first_count);
        p += first_count;
        if (first_count == 8) {
            const std::uint64_t second = detail::load8(p);
            const unsigned second_count = detail::leading_digits(second);
            if (second_count > 2) {
                pos_ = start;
                return read_slow(value);
            }
            if (second_count > 0) {
                magnitude = magnitude * (second_count == 1 ? 10U : 100U) +
                            detail::digits_value(second, second_count);
                p += second_count;
            }
        }
    }
    const std::uint64_t limit = negative ? std::uint64_t{1} << 31U : (std::uint64_t{1} << 31U) - 1;
    if (p == end_ || p == digits || magnitude > limit) {
        pos_ = start;
        return read_slow(value);
    }
    pos_ = p;
    const auto signed_magnitude = static_cast<std::int64_t>(magnitude);
    value = static_cast<std::int32_t>(negative ? -signed_magnitude : signed_magnitude);
    return ReadStatus::value;
}

}  // namespace arrtools
