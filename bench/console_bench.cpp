// The integer reader and the writer on their own, in bytes per second.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "int_reader.hpp"
#include "output_writer.hpp"

namespace {

std::vector<int> sample(std::size_t count, std::int32_t low, std::int32_t high) {
    std::mt19937 random(42);
    std::uniform_int_distribution<std::int32_t> values(low, high);
    std::vector<int> out(count);
    for (int& v : out) {
        v = values(random);
    }
    return out;
}

std::string as_text(const std::vector<int>& values) {
    std::string text;
    for (const int v : values) {
        text += std::to_string(v) + ' ';
    }
    return text;
}

void read_integers(benchmark::State& state, std::int32_t low, std::int32_t high) {
    const std::vector<int> values = sample(1 << 20, low, high);
    const std::string text = as_text(values);
    const int fd = memfd_create("bench-input", 0);
    if (fd < 0 || write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        state.SkipWithError("cannot set up the input");
        return;
    }
    std::vector<int> out(values.size());
    for (auto _ : state) {
        lseek(fd, 0, SEEK_SET);
        arrtools::IntReader reader(fd);
        std::size_t stored = 0;
        if (reader.read_values(out.data(), out.size(), stored) != arrtools::ReadStatus::value) {
            state.SkipWithError("read failed");
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
    close(fd);
}

void write_integers(benchmark::State& state, std::int32_t low, std::int32_t high) {
    const std::vector<int> values = sample(1 << 20, low, high);
    const std::size_t bytes = as_text(values).size();
    const int fd = open("/dev/null", O_WRONLY);
    for (auto _ : state) {
        arrtools::OutputWriter writer(fd);
        writer.write_values(values.data(), static_cast<int>(values.size()));
        writer.flush();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
    close(fd);
}

BENCHMARK_CAPTURE(read_integers, pm_1e7, -10'000'000, 10'000'000);
BENCHMARK_CAPTURE(read_integers, full_range, INT32_MIN, INT32_MAX);
BENCHMARK_CAPTURE(write_integers, pm_1e7, -10'000'000, 10'000'000);
BENCHMARK_CAPTURE(write_integers, full_range, INT32_MIN, INT32_MAX);

}  // namespace

BENCHMARK_MAIN();
