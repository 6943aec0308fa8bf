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

    // Reads up to `count` values into `values`, stopping at the first outcome that is not a
    // value, which it returns; `stored` tells how many were read.
    [[nodiscard]] ReadStatus read_values(std::int32_t* values, std::size_t count,
                                         std::size_t& stored);

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

constexpr bool is_blank(char c) noexcept {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Eight bytes starting at `p`, the first in the lowest byte.
inline std::uint64_t load8(const char* p) noexcept {
    static_assert(std::endian::native == std::endian::little,
                  "digit scanning assumes little endian");
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

// Parses the token at or after `p` when it lies whole before `end` and is a valid value:
// stores it and returns where the value ends. Returns nullptr for anything else (the end of the
// buffer, a bad token, a value out of range), which the careful path then handles.
inline const char* parse_in_buffer(const char* p, const char* end, std::int32_t& value) noexcept {
    while (is_blank(*p)) {
        ++p;
    }
    // The loads for both places the digits may start are made at once and the sign picks one,
    // without a branch: signs come in random order in real data, and the next value cannot be
    // found before this one's end is known.
    const std::uint64_t at_start = load8(p);
    const std::uint64_t after_sign = load8(p + 1);
    const auto lead = static_cast<char>(at_start & 0xFFU);
    const bool negative = lead == '-';
    const bool signed_token = negative || lead == '+';
    p += static_cast<int>(signed_token);
    const char* const digits = p;
    std::uint64_t first = signed_token ? after_sign : at_start;
    if ((first & 0xFFU) == '0') [[unlikely]] {
        while (*p == '0') {
            ++p;
        }
        first = load8(p);
    }
    std::uint64_t magnitude = 0;
    const unsigned first_count = leading_digits(first);
    if (first_count > 0) {
        magnitude = digits_value(first, first_count);
        p += first_count;
        if (first_count == 8) {
            const std::uint64_t second = load8(p);
            const unsigned second_count = leading_digits(second);
            if (second_count > 2) {
                return nullptr;
            }
            if (second_count > 0) {
                magnitude = magnitude * (second_count == 1 ? 10U : 100U) +
                            digits_value(second, second_count);
                p += second_count;
            }
        }
    }
    const std::uint64_t limit = (std::uint64_t{1} << 31U) - static_cast<std::uint64_t>(!negative);
    if (p == end || p == digits || magnitude > limit) {
        return nullptr;
    }
    const auto signed_magnitude = static_cast<std::int64_t>(magnitude);
    value = static_cast<std::int32_t>(negative ? -signed_magnitude : signed_magnitude);
    return p;
}

}  // namespace detail

inline ReadStatus IntReader::read(std::int32_t& value) {
    if (const char* const next = detail::parse_in_buffer(pos_, end_, value)) [[likely]] {
        pos_ = next;
        return ReadStatus::value;
    }
    return read_slow(value);
}

inline ReadStatus IntReader::read_values(std::int32_t* values, std::size_t count,
                                         std::size_t& stored) {
    // The read position stays in a register across the loop; only a value that the fast path
    // cannot take goes through read_slow.
    const char* p = pos_;
    for (std::size_t i = 0; i < count; ++i) {
        if (const char* const next = detail::parse_in_buffer(p, end_, values[i])) [[likely]] {
            p = next;
            continue;
        }
        pos_ = p;
        if (const ReadStatus status = read_slow(values[i]); status != ReadStatus::value) {
            stored = i;
            return status;
        }
        p = pos_;
    }
    pos_ = p;
    stored = count;
    return ReadStatus::value;
}

}  // namespace arrtools
