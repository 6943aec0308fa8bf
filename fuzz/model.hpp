#pragma once

// A small, plain model of the console's integer rules, written apart from the reader so that
// the fuzz targets can check one against the other.

#include <cstdint>
#include <string>
#include <string_view>

#include "int_reader.hpp"

namespace arrtools::model {

struct Token {
    ReadStatus status;
    std::int32_t value = 0;
    std::string text;  // the quoted part of a bad token, cut as the reader cuts it
};

inline bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
inline bool digit(char c) {
    return c >= '0' && c <= '9';
}

inline std::string cut(std::string_view text) {
    const std::size_t limit = IntReader::max_token_text;
    return text.size() <= limit ? std::string(text) : std::string(text.substr(0, limit)) + "...";
}

// The next token of `input` from `pos`, which moves past what the reader consumes.
inline Token next(std::string_view input, std::size_t& pos) {
    while (pos < input.size() && blank(input[pos])) {
        ++pos;
    }
    if (pos == input.size()) {
        return {ReadStatus::end_of_input, 0, {}};
    }
    const std::size_t start = pos;
    std::size_t p = pos;
    std::string sign;
    if (input[p] == '+' || input[p] == '-') {
        sign = input[p];
        ++p;
    }
    if (p == input.size() || !digit(input[p])) {
        std::size_t stop = p;
        while (stop < input.size() && !blank(input[stop])) {
            ++stop;
        }
        return {ReadStatus::not_integer, 0, cut(input.substr(start, stop - start))};
    }
    while (p < input.size() && input[p] == '0') {
        ++p;
    }
    const std::size_t significant = p;
    while (p < input.size() && digit(input[p])) {
        ++p;
    }
    const std::string_view digits = input.substr(significant, p - significant);
    pos = p;
    if (digits.size() > 10) {
        return {ReadStatus::out_of_range, 0, cut(sign + std::string(digits))};
    }
    const std::int64_t magnitude = digits.empty() ? 0 : std::stoll(std::string(digits));
    const std::int64_t v = sign == "-" ? -magnitude : magnitude;
    if (v < INT32_MIN || v > INT32_MAX) {
        return {ReadStatus::out_of_range, 0, cut(sign + std::string(digits))};
    }
    return {ReadStatus::value, static_cast<std::int32_t>(v), {}};
}

}  // namespace arrtools::model
