#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace arrtools {

// Buffered writer on a file descriptor. Text and values collect in the buffer and reach the
// descriptor when it fills, on flush(), and before the tied reader waits for input.
// A failed write throws ConsoleError once; after that the writer discards what it is given.
class OutputWriter {
  public:
    static constexpr std::size_t default_capacity = std::size_t{1} << 19;

    explicit OutputWriter(int fd, std::size_t capacity = default_capacity);

    void write(std::string_view text);

    // Each value in plain decimal followed by one blank.
    void write_values(const int* values, int count);

    void flush();

    // Called with each chunk read from a terminal: its echo moves the terminal's cursor.
    void note_echo(std::string_view chunk) noexcept;

    // Whether the terminal this writes to has its cursor at the start of a line, as far as
    // this program's output and the echo of its terminal input tell.
    [[nodiscard]] bool at_line_start() const noexcept { return at_line_start_; }

  private:
    // Longest text of one value: a sign, ten digits and the blank.
    static constexpr std::size_t max_value_text = 12;

    int fd_;
    bool to_terminal_;
    bool failed_ = false;
    bool at_line_start_ = true;
    std::size_t capacity_;
    std::unique_ptr<char[]> buffer_;
    char* pos_;
};

// How many bytes from `out` format_decimal may overwrite.
inline constexpr std::size_t format_decimal_reach = 11;

// Writes `value` in plain decimal at `out` and returns the end of the text (at most 11 bytes).
// Bytes after that end, up to format_decimal_reach from `out`, may be overwritten.
char* format_decimal(char* out, std::int32_t value) noexcept;

}  // namespace arrtools
