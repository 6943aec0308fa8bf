#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "token_scan.hpp"

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
    // Bytes around the data that the fast path may load: before it, the sixteen bytes before
    // the end of a token; after it, a block scanned from the end of the data. Those after it
    // are zero, and zero is neither a blank nor a digit, so a token that reaches the end of the
    // data goes to the careful path.
    static constexpr std::size_t front_padding = 16;
    static constexpr std::size_t padding = detail::block_size;

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

inline ReadStatus IntReader::read(std::int32_t& value) {
    std::size_t stored = 0;
    return read_values(&value, 1, stored);
}

inline ReadStatus IntReader::read_values(std::int32_t* values, std::size_t count,
                                         std::size_t& stored) {
    // One scan of a block tells where each of its tokens starts and ends, so each value is
    // parsed without waiting for the end of the one before. A token the fast path cannot take
    // goes through read_slow, and the scan starts again where that left off.
    const char* p = pos_;
    std::int32_t* out = values;
    std::int32_t* const last = values + count;
    while (out != last) {
        const char* const block = p;
        const std::uint64_t blanks = detail::blank_mask(block);
        // A byte that is not a blank, first in the block or after a blank. The block starts
        // where the last value read ends or on a blank after it: where the next read starts.
        std::uint64_t starts = ~blanks & ((blanks << 1U) | 1U);
        for (; starts != 0 && out != last; starts &= starts - 1) {
            const auto at = static_cast<unsigned>(std::countr_zero(starts));
            const std::uint64_t after = blanks >> at;
            const auto length = static_cast<unsigned>(std::countr_zero(after));
            if (!detail::parse_token(block + at, length, *out)) [[unlikely]] {
                break;
            }
            p = block + at + length;
            ++out;
        }
        if (starts == 0) {
            p = p < block + detail::block_size ? block + detail::block_size : p;
            continue;  // only blanks follow the last token of the block
        }
        if (out == last) {
            break;
        }
        const auto at = static_cast<unsigned>(std::countr_zero(starts));
        p = block + at;
        if ((blanks >> at) == 0 && detail::block_size - at <= detail::max_token_length) {
            continue;  // no blank ends this short token in the block: it starts the next one
        }
        pos_ = p;
        if (const ReadStatus status = read_slow(*out); status != ReadStatus::value) {
            stored = static_cast<std::size_t>(out - values);
            return status;
        }
        ++out;
        p = pos_;
    }
    pos_ = p;
    stored = count;
    return ReadStatus::value;
}

}  // namespace arrtools
