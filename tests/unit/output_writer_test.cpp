#include "output_writer.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "console_error.hpp"
#include "temp_fd.hpp"

namespace arrtools {
namespace {

using testing::TempFd;

TEST(FormatDecimal, WritesPlainDecimal) {
    const std::vector<std::int32_t> values = {
        0,   1,         -1,         9,          10,      -10,     99, 100,
        101, 999999999, 1000000000, 2147483647, INT_MIN, -100000, 7,  1234567};
    for (const std::int32_t v : values) {
        std::string text(format_decimal_reach, '#');
        char* const end = format_decimal(text.data(), v);
        text.resize(static_cast<std::size_t>(end - text.data()));
        EXPECT_EQ(text, std::to_string(v));
    }
}

// Every digit count, both signs, either side of each power of ten, and random values of the
// full range.
TEST(FormatDecimal, AgreesWithToStringAcrossTheWholeRange) {
    std::vector<std::int64_t> values = {INT_MIN, INT_MAX};
    for (std::int64_t power = 1; power <= INT_MAX; power *= 10) {
        for (const std::int64_t v : {power - 1, power, power + 1}) {
            values.push_back(v);
            values.push_back(-v);
        }
    }
    std::mt19937 random(3);
    std::uniform_int_distribution<std::int32_t> any(INT_MIN, INT_MAX);
    for (int i = 0; i < 100000; ++i) {
        values.push_back(any(random));
    }
    for (const std::int64_t v : values) {
        std::string text(format_decimal_reach, '#');
        char* const end = format_decimal(text.data(), static_cast<std::int32_t>(v));
        text.resize(static_cast<std::size_t>(end - text.data()));
        ASSERT_EQ(text, std::to_string(v));
    }
}

std::string expected_text(const std::vector<int>& values) {
    std::string text;
    for (const int v : values) {
        text += std::to_string(v) + ' ';
    }
    return text;
}

std::vector<int> sample_values() {
    std::vector<int> values;
    for (std::int64_t v = 1; v <= INT_MAX; v = v * 7 + 1) {
        values.push_back(static_cast<int>(v));
        values.push_back(static_cast<int>(-v));
    }
    values.push_back(INT_MIN);
    values.push_back(0);
    return values;
}

TEST(OutputWriter, WritesValuesAcrossEveryBufferBoundary) {
    const std::vector<int> values = sample_values();
    for (std::size_t capacity = 1; capacity <= 40; ++capacity) {
        const TempFd output;
        OutputWriter writer(output.fd(), capacity);
        writer.write("Label: ");
        writer.write_values(values.data(), static_cast<int>(values.size()));
        writer.write("\n");
        writer.flush();
        EXPECT_EQ(output.contents(), "Label: " + expected_text(values) + "\n")
            << "buffer of " << capacity << " bytes";
    }
}

TEST(OutputWriter, HoldsOutputUntilFlushed) {
    const TempFd output;
    OutputWriter writer(output.fd());
    writer.write("Enter: ");
    EXPECT_EQ(output.contents(), "");
    writer.flush();
    EXPECT_EQ(output.contents(), "Enter: ");
}

TEST(OutputWriter, AFullDiskFailsOnceWithItsReason) {
    const int full = open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    OutputWriter writer(full);
    writer.write("x");
    try {
        writer.flush();
        ADD_FAILURE() << "the write to /dev/full succeeded";
    } catch (const ConsoleError& error) {
        EXPECT_STREQ(error.what(), "cannot write standard output: No space left on device");
    }
    writer.write("more");
    EXPECT_NO_THROW(writer.flush());
    close(full);
}

TEST(OutputWriter, AClosedDescriptorFails) {
    OutputWriter writer(-1);
    writer.write("x");
    EXPECT_THROW(writer.flush(), ConsoleError);
}

}  // namespace
}  // namespace arrtools
