// Arbitrary bytes through the integer reader, with a buffer size taken from the first byte so
// that tokens are cut at every place; each outcome must match the model's.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "int_reader.hpp"
#include "model.hpp"
#include "temp_fd.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t capacity = 1 + data[0] % 32;
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    const arrtools::testing::TempFd file(input);
    arrtools::IntReader reader(file.fd(), nullptr, capacity);
    std::size_t model_pos = 0;
    for (;;) {
        const arrtools::model::Token expected = arrtools::model::next(input, model_pos);
        std::int32_t value = 0;
        const arrtools::ReadStatus status = reader.read(value);
        if (status != expected.status) {
            __builtin_trap();
        }
        if (status != arrtools::ReadStatus::value) {
            if (status != arrtools::ReadStatus::end_of_input && reader.token() != expected.text) {
                __builtin_trap();
            }
            return 0;
        }
        if (value != expected.value) {
            __builtin_trap();
        }
    }
}
