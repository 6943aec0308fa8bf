// Arbitrary bytes through the integer reader, set up by the first byte; each outcome must match
// the model's.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "int_reader.hpp"
#include "model.hpp"
#include "temp_fd.hpp"

namespace {

// The reader as the first byte sets it up: a buffer of 1 to 32 bytes, so that tokens are cut
// at every place, or of the default size, where whole blocks are scanned; and values read one
// at a time or several per call.
struct Setup {
    std::size_t capacity;
    std::size_t batch;
};

Setup setup_from(std::uint8_t byte) {
    constexpr std::array<std::size_t, 4> batches = {1, 2, 7, 1000};
    const std::size_t capacity =
        (byte & 0x20U) != 0 ? arrtools::IntReader::default_capacity : 1 + (byte & 0x1FU);
    return {capacity, batches[byte >> 6U]};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const Setup setup = setup_from(data[0]);
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    const arrtools::testing::TempFd file(input);
    arrtools::IntReader reader(file.fd(), nullptr, setup.capacity);
    std::vector<std::int32_t> values(setup.batch);
    std::size_t model_pos = 0;
    for (;;) {
        std::size_t stored = 0;
        const arrtools::ReadStatus status = reader.read_values(values.data(), setup.batch, stored);
        for (std::size_t i = 0; i < stored; ++i) {
            const arrtools::model::Token expected = arrtools::model::next(input, model_pos);
            if (expected.status != arrtools::ReadStatus::value || values[i] != expected.value) {
                __builtin_trap();
            }
        }
        if (status == arrtools::ReadStatus::value) {
            if (stored != setup.batch) {
                __builtin_trap();
            }
            continue;
        }
        const arrtools::model::Token expected = arrtools::model::next(input, model_pos);
        if (status != expected.status) {
            __builtin_trap();
        }
        if (status != arrtools::ReadStatus::end_of_input && reader.token() != expected.text) {
            __builtin_trap();
        }
        return 0;
    }
}
