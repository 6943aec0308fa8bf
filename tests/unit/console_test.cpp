#include "console.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <stdexcept>
#include <string>

#include "reversal_dialogue.hpp"
#include "temp_fd.hpp"
#include "two_array_dialogue.hpp"

namespace arrtools {
namespace {

using testing::TempFd;

// One run of a dialogue on memory files: what it wrote to each stream, and its status.
class DialogueRun : public ::testing::Test {
  protected:
    template <typename Dialogue>
    int run(std::string_view input, Dialogue dialogue) {
        const TempFd in(input);
        Console console("prog", in.fd(), out_.fd(), err_.fd());
        return dialogue(console);
    }
    [[nodiscard]] std::string out() const { return out_.contents(); }
    [[nodiscard]] std::string err() const { return err_.contents(); }

  private:
    TempFd out_;
    TempFd err_;
};

std::unique_ptr<int[]> out_of_memory(const int*, int, const int*, int, int&) {
    throw std::bad_alloc();
}

std::unique_ptr<int[]> too_long(const int*, int, const int*, int, int&) {
    throw std::length_error("more than 2147483647 values in all");
}

constexpr std::string_view all_prompts =
    "Enter the size of the first array: Enter the elements of the first array: "
    "Enter the size of the second array: Enter the elements of the second array: ";

TEST_F(DialogueRun, AnOperationOutOfMemoryIsReportedWithTheCounts) {
    const int status = run("2 1 2 1 3", [](Console& console) {
        return run_two_array_dialogue(console, "Label: ", out_of_memory);
    });
    EXPECT_EQ(status, 1);
    EXPECT_EQ(out(), all_prompts);
    EXPECT_EQ(err(), "prog: combining arrays of 2 and 1 values: out of memory\n");
}

TEST_F(DialogueRun, AnOperationThatCannotCountItsResultIsReported) {
    const int status = run("0 0", [](Console& console) {
        return run_two_array_dialogue(console, "Label: ", too_long);
    });
    EXPECT_EQ(status, 1);
    EXPECT_EQ(err(),
              "prog: combining arrays of 0 and 0 values: more than 2147483647 values in all\n");
}

TEST_F(DialogueRun, PromptsStillBufferedAtAFailureReachTheOutputFirst) {
    // The whole input is read at once, so the second prompt is still in the buffer when the
    // bad value is found.
    const int status = run("2 7 x", run_reversal_dialogue);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(out(), "Enter the size of array: Enter the elements of array: ");
    EXPECT_EQ(err(), "prog: element 2 of the array: expected an integer, found \"x\"\n");
}

TEST(Quote, EscapesWhatCannotBePrintedAsItIs) {
    EXPECT_EQ(quote("abc"), "\"abc\"");
    EXPECT_EQ(quote("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(quote(std::string("\x01\x7f\xff\0", 4)), "\"\\x01\\x7F\\xFF\\x00\"");
    EXPECT_EQ(quote("\t\n"), "\"\\x09\\x0A\"");
}

}  // namespace
}  // namespace arrtools
