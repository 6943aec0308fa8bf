#pragma once

#include <exception>
#include <memory>
#include <new>
#include <string>
#include <string_view>

#include "console_error.hpp"
#include "int_reader.hpp"
#include "output_writer.hpp"

namespace arrtools {

// The console of one run: standard input read as integers, standard output written through a
// buffer that is flushed before every read that could wait, and a failure reported on standard
// error as one line that starts with the program's name.
class Console {
  public:
    explicit Console(std::string_view program, int input_fd = 0, int output_fd = 1,
                     int error_fd = 2);

    [[nodiscard]] OutputWriter& out() noexcept { return out_; }

    // Reads the size of `array_name` ("the first array"): a count from 0 up.
    [[nodiscard]] int read_count(std::string_view array_name);

    // Creates room for `count` values. The memory is only reserved: pages are taken as values
    // are stored, so a count larger than the input that follows costs no more than that input.
    [[nodiscard]] std::unique_ptr<int[]> create_array(int count, std::string_view array_name);

    // Reads `count` values into `values`, in the order they arrive.
    void read_values(int* values, int count, std::string_view array_name);

    // Runs `body`, then flushes standard output. Returns the exit status: 0, or 1 after
    // reporting the failure that stopped it.
    template <typename Body>
    [[nodiscard]] int run(Body&& body) noexcept;

  private:
    [[noreturn]] void fail_read(ReadStatus status, const std::string& item) const;
    void report(std::string_view message) noexcept;

    std::string program_;
    int error_fd_;
    OutputWriter out_;
    IntReader in_;
};

// `text` for a message: bytes that are not printable ASCII, quotes and backslashes escaped.
[[nodiscard]] std::string quote(std::string_view text);

template <typename Body>
int Console::run(Body&& body) noexcept {
    try {
        try {
            body();
            out_.flush();
            return 0;
        } catch (const std::bad_alloc&) {
            throw ConsoleError("out of memory");
        }
    } catch (const std::exception& failure) {
        report(failure.what());
    } catch (...) {
        report("unexpected failure");
    }
    return 1;
}

}  // namespace arrtools
