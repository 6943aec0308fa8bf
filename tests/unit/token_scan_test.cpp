#include "token_scan.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>

namespace arrtools::detail {
namespace {

// A block of bytes that the vector scan may load all of.
using Block = std::array<char, block_size>;

TEST(BlankMask, AgreesWithTheBytewiseDefinitionForEveryByteAtEveryPlace) {
    for (int byte = 0; byte < 256; ++byte) {
        for (std::size_t place = 0; place < block_size; ++place) {
            Block block;
            block.fill('7');
            block[place] = static_cast<char>(byte);
            EXPECT_EQ(blank_mask(block.data()), blank_mask_bytewise(block.data()))
                << "byte " << byte << " at " << place;
        }
    }
}

TEST(BlankMask, AgreesWithTheBytewiseDefinitionOnRandomBlocks) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> bytes(0, 255);
    for (int round = 0; round < 20000; ++round) {
        Block block;
        for (char& c : block) {
            c = static_cast<char>(bytes(random));
        }
        ASSERT_EQ(blank_mask(block.data()), blank_mask_bytewise(block.data()));
    }
}

TEST(BlankMask, MarksExactlyTheSixBlanks) {
    Block block;
    block.fill('x');
    const std::string blanks = " \t\n\v\f\r";
    for (std::size_t i = 0; i < blanks.size(); ++i) {
        block[i * 10] = blanks[i];
    }
    EXPECT_EQ(blank_mask(block.data()), 0x0004'0100'4010'0401U);
}

// Digits placed at the end of a buffer with sixteen bytes before them, as the reader's
// buffer has.
class DigitsValue : public ::testing::Test {
  protected:
    std::uint64_t value_of(const std::string& digits, char before = ' ') {
        buffer_.fill(before);
        const std::size_t start = buffer_.size() - digits.size();
        digits.copy(buffer_.data() + start, digits.size());
        const char* const end = buffer_.data() + buffer_.size();
        const auto count = static_cast<unsigned>(digits.size());
        const std::uint64_t expected = digits_value_bytewise(end, count);
        EXPECT_EQ(digits_value(end, count), expected) << '"' << digits << '"';
        return expected;
    }

  private:
    std::array<char, 32> buffer_{};
};

TEST_F(DigitsValue, ReadsEveryDigitCount) {
    EXPECT_EQ(value_of("0"), 0U);
    EXPECT_EQ(value_of("9"), 9U);
    EXPECT_EQ(value_of("42"), 42U);
    EXPECT_EQ(value_of("12345678"), 12345678U);
    EXPECT_EQ(value_of("123456789"), 123456789U);
    EXPECT_EQ(value_of("9999999999"), 9999999999U);
    EXPECT_EQ(value_of("0000000001"), 1U);
    EXPECT_EQ(value_of("2147483648"), 2147483648U);
}

TEST_F(DigitsValue, IgnoresTheBytesBeforeTheDigits) {
    for (const char before : {'\0', '-', '9', '\xff', 'x'}) {
        EXPECT_EQ(value_of("31", before), 31U);
    }
}

TEST_F(DigitsValue, RejectsEveryOtherByteAtEveryPlace) {
    for (int byte = 0; byte < 256; ++byte) {
        if (byte >= '0' && byte <= '9') {
            continue;
        }
        for (unsigned count = 1; count <= max_value_digits; ++count) {
            for (unsigned place = 0; place < count; ++place) {
                std::string digits = std::string("3141592653").substr(0, count);
                digits[place] = static_cast<char>(byte);
                EXPECT_EQ(value_of(digits), not_digits) << "byte " << byte << " at " << place;
            }
        }
    }
}

TEST_F(DigitsValue, AgreesWithTheBytewiseDefinitionOnRandomDigits) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> digit('0', '9');
    std::uniform_int_distribution<unsigned> count(1, max_value_digits);
    for (int round = 0; round < 20000; ++round) {
        std::string digits(count(random), '0');
        for (char& c : digits) {
            c = static_cast<char>(digit(random));
        }
        ASSERT_EQ(value_of(digits), std::stoull(digits));
    }
}

}  // namespace
}  // namespace arrtools::detail
