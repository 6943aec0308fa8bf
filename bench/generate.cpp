// Writes benchmark input on stdout.
//   bench_generate two COUNT SEED  two arrays of COUNT values each, uniform in -10^7..10^7
//   bench_generate one COUNT SEED  one array of COUNT values over the whole 32-bit range
//   bench_generate lines COUNT SEED  the values of "two", one a line, without the counts
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

class TextOut {
  public:
    void put(long long value) {
        if (buffer_.size() > (1U << 20U)) {
            flush();
        }
        std::array<char, 24> digits{};
        const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
        buffer_.append(digits.data(), result.ptr);
        buffer_ += ' ';
    }
    void end_line() { buffer_.back() = '\n'; }
    void flush() {
        std::fwrite(buffer_.data(), 1, buffer_.size(), stdout);
        buffer_.clear();
    }

  private:
    std::string buffer_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: bench_generate one|two|lines COUNT SEED\n", stderr);
        return 2;
    }
    const std::string_view mode = argv[1];
    const long long count = std::stoll(argv[2]);
    std::mt19937_64 random(std::stoull(argv[3]));
    TextOut out;
    const bool lines = mode == "lines";
    const int arrays = mode == "one" ? 1 : 2;
    std::uniform_int_distribution<std::int32_t> values =
        arrays == 2
            ? std::uniform_int_distribution<std::int32_t>(-10'000'000, 10'000'000)
            : std::uniform_int_distribution<std::int32_t>(std::numeric_limits<std::int32_t>::min(),
                                                          std::numeric_limits<std::int32_t>::max());
    for (int array = 0; array < arrays; ++array) {
        if (!lines) {
            out.put(count);
            out.end_line();
        }
        for (long long i = 0; i < count; ++i) {
            out.put(values(random));
            if (lines) {
                out.end_line();
            }
        }
        out.end_line();
    }
    out.flush();
    return 0;
}
