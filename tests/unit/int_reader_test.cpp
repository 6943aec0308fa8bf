#include "int_reader.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/time.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "output_writer.hpp"
#include "temp_fd.hpp"

namespace arrtools {
namespace {

using testing::TempFd;

// One call of read(): the status and, for a value, the value; for a bad token, its text.
struct Outcome {
    ReadStatus status;
    std::int32_t value = 0;
    std::string token;

    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Outcome& outcome) {
    return os << "{status " << static_cast<int>(outcome.status) << ", value " << outcome.value
              << ", token \"" << outcome.token << "\"}";
}

Outcome value(std::int32_t v) {
    return {ReadStatus::value, v, {}};
}
Outcome not_integer(std::string token) {
    return {ReadStatus::not_integer, 0, std::move(token)};
}
Outcome out_of_range(std::string token) {
    return {ReadStatus::out_of_range, 0, std::move(token)};
}
const Outcome end_of_input{ReadStatus::end_of_input, 0, {}};

// Reads until the first outcome that is not a value, and returns them all: one value per
// read(), or `batch` values per read_values().
std::vector<Outcome> read_all(const std::string& input,
                              std::size_t capacity = IntReader::default_capacity,
                              std::size_t batch = 1) {
    const TempFd file(input);
    IntReader reader(file.fd(), nullptr, capacity);
    std::vector<Outcome> outcomes;
    std::vector<std::int32_t> values(batch);
    for (;;) {
        std::size_t stored = 0;
        ReadStatus status = ReadStatus::value;
        if (batch == 1) {
            status = reader.read(values[0]);
            stored = status == ReadStatus::value ? 1 : 0;
        } else {
            status = reader.read_values(values.data(), batch, stored);
        }
        for (std::size_t i = 0; i < stored; ++i) {
            outcomes.push_back(value(values[i]));
        }
        if (status != ReadStatus::value) {
            outcomes.push_back(
                {status, 0, status == ReadStatus::end_of_input ? "" : reader.token()});
            return outcomes;
        }
    }
}

struct ReaderCase {
    const char* name;
    std::string input;
    std::vector<Outcome> expected;
};

void PrintTo(const ReaderCase& c, std::ostream* os) {
    *os << c.name;
}

const std::string seventy_thousand_zeros(70000, '0');
const std::string long_digits = "1" + std::string(100000, '7');

const std::vector<ReaderCase> reader_cases = {
    {"empty", "", {end_of_input}},
    {"only_blanks", " \t\r\n\v\f", {end_of_input}},
    {"every_kind_of_blank",
     "1\t2\n3\r4\v5\f6 7",
     {value(1), value(2), value(3), value(4), value(5), value(6), value(7), end_of_input}},
    {"signs", "+5 -5 +0 -0", {value(5), value(-5), value(0), value(0), end_of_input}},
    {"extremes", "2147483647 -2147483648", {value(2147483647), value(-2147483648), end_of_input}},
    {"digit_counts",
     "1 12 123 1234 12345 123456 1234567 12345678 123456789 1234567890",
     {value(1), value(12), value(123), value(1234), value(12345), value(123456), value(1234567),
      value(12345678), value(123456789), value(1234567890), end_of_input}},
    {"eight_and_nine_nines",
     "99999999 999999999 -99999999",
     {value(99999999), value(999999999), value(-99999999), end_of_input}},
    {"leading_zeros",
     "0042 -000000000000000000007 00000000",
     {value(42), value(-7), value(0), end_of_input}},
    {"many_leading_zeros",
     seventy_thousand_zeros + "42 " + seventy_thousand_zeros,
     {value(42), value(0), end_of_input}},
    {"zeros_then_ten_digits", "000000000002147483647", {value(2147483647), end_of_input}},
    {"one_past_the_top", "2147483648", {out_of_range("2147483648")}},
    {"one_past_the_bottom", "-2147483649", {out_of_range("-2147483649")}},
    {"eleven_digits", "10000000000", {out_of_range("10000000000")}},
    {"zeros_before_too_large", "0004294967296", {out_of_range("4294967296")}},
    {"a_sign_and_zeros_before_too_large", "-0004294967296", {out_of_range("-4294967296")}},
    {"unsigned_wrap_is_not_in_range", "4294967295", {out_of_range("4294967295")}},
    {"huge_integer_cut_short", long_digits, {out_of_range(long_digits.substr(0, 40) + "...")}},
    {"word", "abc", {not_integer("abc")}},
    {"word_after_values", "1 2 x3 4", {value(1), value(2), not_integer("x3")}},
    {"lone_minus", "-", {not_integer("-")}},
    {"lone_plus_then_blank", "+ 5", {not_integer("+")}},
    {"minus_blank_digit", "- 5", {not_integer("-")}},
    {"two_signs", "+-5", {not_integer("+-5")}},
    {"exponent_ends_the_value", "1e5", {value(1), not_integer("e5")}},
    {"value_ends_where_digits_end", "12abc 5", {value(12), not_integer("abc")}},
    {"decimal_point", "3.5", {value(3), not_integer(".5")}},
    {"bad_token_ends_at_blank", "7 ab\tcd", {value(7), not_integer("ab")}},
    {"bad_token_cut_short", std::string(100, 'x'), {not_integer(std::string(40, 'x') + "...")}},
    {"bytes_kept_raw", "\x01\xff", {not_integer("\x01\xff")}},
    {"nul_is_not_a_blank", std::string("5\0 6", 4), {value(5), not_integer(std::string(1, '\0'))}},
    {"high_bytes_are_not_digits", "5\xb5", {value(5), not_integer("\xb5")}},
    {"colon_and_slash_are_not_digits", "1:2/3", {value(1), not_integer(":2/3")}},
};

class ReaderTable : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(ReaderTable, ReadsTheExpectedOutcomes) {
    EXPECT_EQ(read_all(GetParam().input), GetParam().expected);
}

// Every small buffer cuts some token of every case in two, at every place.
TEST_P(ReaderTable, GivesTheSameOutcomesWhateverTheBufferSize) {
    for (std::size_t capacity = 1; capacity <= 24; ++capacity) {
        EXPECT_EQ(read_all(GetParam().input, capacity), GetParam().expected)
            << "buffer of " << capacity << " bytes";
    }
}

TEST_P(ReaderTable, GivesTheSameOutcomesReadManyAtATime) {
    for (const std::size_t batch : {std::size_t{2}, std::size_t{3}, std::size_t{1000}}) {
        for (const std::size_t capacity : {std::size_t{1}, std::size_t{5}, std::size_t{13},
                                           std::size_t{64}, IntReader::default_capacity}) {
            EXPECT_EQ(read_all(GetParam().input, capacity, batch), GetParam().expected)
                << batch << " at a time, buffer of " << capacity << " bytes";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, ReaderTable, ::testing::ValuesIn(reader_cases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(IntReader, ReadsEveryDigitCountAtEveryOffsetInTheBuffer) {
    // Values of 1 to 10 digits, with and without sign, packed so that each starts at a different
    // place relative to the eight-byte loads.
    std::string input;
    std::vector<Outcome> expected;
    for (std::int64_t magnitude = 1; magnitude <= 2147483647; magnitude = magnitude * 10 + 3) {
        for (const std::int64_t v : {magnitude, -magnitude}) {
            input += std::to_string(v) + (v > 0 ? " " : "\n");
            expected.push_back(value(static_cast<std::int32_t>(v)));
        }
    }
    expected.push_back(end_of_input);
    for (const std::size_t capacity :
         {std::size_t{7}, std::size_t{64}, IntReader::default_capacity}) {
        EXPECT_EQ(read_all(input, capacity), expected) << capacity;
    }
}

// The input is scanned in blocks of 64 bytes: every kind of token, and one that is too long for
// the fast path, at every offset from a block's start, so that each is cut by a block's end at
// every place.
TEST(IntReader, ReadsTokensAtEveryPlaceAcrossTheScannedBlocks) {
    const std::vector<std::pair<std::string, Outcome>> tokens = {
        {"7", value(7)},
        {"-2147483648", value(-2147483648)},
        {"+2147483647", value(2147483647)},
        {"1234567890", value(1234567890)},
        {"-00000000000000000012", value(-12)},
        {"+0", value(0)},
    };
    for (const auto& [token, expected] : tokens) {
        for (std::size_t offset = 1; offset <= 80; ++offset) {
            const std::string input = "5" + std::string(offset, ' ') + token + "\t6 " + token;
            const std::vector<Outcome> outcomes = {value(5), expected, value(6), expected,
                                                   end_of_input};
            for (const std::size_t capacity : {std::size_t{61}, IntReader::default_capacity}) {
                EXPECT_EQ(read_all(input, capacity, 100), outcomes)
                    << token << " after " << offset << " blanks, buffer of " << capacity;
            }
        }
    }
}

TEST(IntReader, StopsAtTheCountAskedForInTheMiddleOfABlock) {
    const TempFd file("1 2 3 4 5 x");
    IntReader reader(file.fd());
    std::array<std::int32_t, 5> values{};
    std::size_t stored = 0;
    ASSERT_EQ(reader.read_values(values.data(), 3, stored), ReadStatus::value);
    EXPECT_EQ(stored, 3U);
    ASSERT_EQ(reader.read_values(values.data() + 3, 2, stored), ReadStatus::value);
    EXPECT_EQ(values, (std::array<std::int32_t, 5>{1, 2, 3, 4, 5}));
    std::int32_t v = 0;
    EXPECT_EQ(reader.read(v), ReadStatus::not_integer);
    EXPECT_EQ(reader.token(), "x");
}

TEST(IntReader, ReportsTheErrnoOfAFailedRead) {
    IntReader reader(-1);
    std::int32_t v = 0;
    EXPECT_EQ(reader.read(v), ReadStatus::read_error);
    EXPECT_EQ(reader.error_number(), EBADF);
}

// A pipe that never ends: a read that waits for more input than it needs would block, so the
// read end is non-blocking and such a read fails at once instead.
class OpenPipe : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(pipe2(fds_.data(), O_NONBLOCK), 0); }
    void TearDown() override {
        close(fds_[0]);
        close(fds_[1]);
    }
    void send(std::string_view text) const {
        ASSERT_EQ(write(fds_[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    [[nodiscard]] int read_end() const { return fds_[0]; }

  private:
    std::array<int, 2> fds_{};
};

TEST_F(OpenPipe, AValueFollowedByABlankNeedsNoFurtherInput) {
    IntReader reader(read_end());
    send("12 34\n");
    std::int32_t v = 0;
    ASSERT_EQ(reader.read(v), ReadStatus::value);
    EXPECT_EQ(v, 12);
    ASSERT_EQ(reader.read(v), ReadStatus::value);
    EXPECT_EQ(v, 34);
}

TEST_F(OpenPipe, AValueThatMayGoOnWaitsForTheByteAfterIt) {
    IntReader reader(read_end());
    send("12");
    std::int32_t v = 0;
    EXPECT_EQ(reader.read(v), ReadStatus::read_error);
    EXPECT_EQ(reader.error_number(), EAGAIN);
}

TEST_F(OpenPipe, ATiedWriterIsFlushedBeforeTheReaderWaits) {
    const TempFd output;
    OutputWriter writer(output.fd());
    IntReader reader(read_end(), &writer);
    writer.write("Enter: ");
    send("5 ");
    std::int32_t v = 0;
    ASSERT_EQ(reader.read(v), ReadStatus::value);
    EXPECT_EQ(output.contents(), "Enter: ");
}

// A signal that arrives while the reader waits interrupts read(2) (no SA_RESTART); the reader
// must try again rather than report a read error.
TEST(IntReader, RetriesAReadInterruptedByASignal) {
    std::array<int, 2> fds{};
    ASSERT_EQ(pipe(fds.data()), 0);
    struct sigaction action {};
    action.sa_handler = [](int) {};
    struct sigaction previous {};
    ASSERT_EQ(sigaction(SIGALRM, &action, &previous), 0);
    itimerval timer{};
    timer.it_value.tv_usec = 20000;
    timer.it_interval.tv_usec = 20000;
    ASSERT_EQ(setitimer(ITIMER_REAL, &timer, nullptr), 0);
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ASSERT_EQ(write(fds[1], "5 ", 2), 2);
    });
    IntReader reader(fds[0]);
    std::int32_t v = 0;
    const ReadStatus status = reader.read(v);
    writer.join();
    timer = {};
    setitimer(ITIMER_REAL, &timer, nullptr);
    sigaction(SIGALRM, &previous, nullptr);
    close(fds[0]);
    close(fds[1]);
    ASSERT_EQ(status, ReadStatus::value);
    EXPECT_EQ(v, 5);
}

}  // namespace
}  // namespace arrtools
