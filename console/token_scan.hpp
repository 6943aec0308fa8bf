#pragma once

// The reader's fast path: which bytes of a block of input are blanks, and the value of a run of
// decimal digits. Each comes in a plain form, which defines it, and a vector form for x86-64,
// which must agree with it and is the one the reader uses there.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace arrtools::detail {

constexpr bool is_blank(char c) noexcept {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

constexpr bool is_digit(char c) noexcept {
    return c >= '0' && c <= '9';
}

// The reader scans its input in blocks of this many bytes.
constexpr std::size_t block_size = 64;

// Bit i is set when byte i of the block at `p` is a blank.
constexpr std::uint64_t blank_mask_bytewise(const char* p) noexcept {
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < block_size; ++i) {
        mask |= static_cast<std::uint64_t>(is_blank(p[i])) << i;
    }
    return mask;
}

inline std::uint64_t blank_mask(const char* p) noexcept {
#if defined(__SSE2__)
    // ' ', or '\t' to '\r': the bytes that '\t' subtracted from (with wrap-around) leaves at
    // most 4. Sixteen bytes at a time.
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i control_span = _mm_set1_epi8('\r' - '\t');
    std::uint64_t mask = 0;
    for (std::size_t offset = 0; offset < block_size; offset += 16) {
        __m128i bytes;
        std::memcpy(&bytes, p + offset, sizeof bytes);
        const __m128i from_tab = _mm_sub_epi8(bytes, tab);
        const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(from_tab, control_span), from_tab);
        const __m128i blank = _mm_or_si128(_mm_cmpeq_epi8(bytes, space), control);
        mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(blank)))
                << offset;
    }
    return mask;
#else
    return blank_mask_bytewise(p);
#endif
}

// The most digits digits_value takes; more cannot make a 32-bit value without leading zeros.
constexpr unsigned max_value_digits = 10;

// What digits_value gives when a byte is not a digit: more than any 32-bit magnitude.
constexpr std::uint64_t not_digits = UINT64_MAX;

// The value of the `count` (1 to max_value_digits) bytes that end just before `end`, read as
// decimal digits, or not_digits when one of them is not a digit.
constexpr std::uint64_t digits_value_bytewise(const char* end, unsigned count) noexcept {
    std::uint64_t value = 0;
    for (const char* p = end - count; p != end; ++p) {
        if (!is_digit(*p)) {
            return not_digits;
        }
        value = value * 10 + static_cast<std::uint64_t>(*p - '0');
    }
    return value;
}

// Loaded at offset `count`, the last `count` of its sixteen bytes are 0xFF.
inline constexpr std::array<unsigned char, 32> last_bytes_mask = {
    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

// Loads the sixteen bytes before `end`: 16 - count of them lie before the digits.
inline std::uint64_t digits_value(const char* end, unsigned count) noexcept {
#if defined(__SSE2__)
    __m128i window;
    std::memcpy(&window, end - 16, sizeof window);
    __m128i keep;
    std::memcpy(&keep, last_bytes_mask.data() + count, sizeof keep);
    // Each byte of the digits becomes its digit value and every byte before them zero, so the
    // sixteen bytes are one right-aligned number with leading zeros.
    const __m128i digits = _mm_and_si128(_mm_sub_epi8(window, _mm_set1_epi8('0')), keep);
    const __m128i nine = _mm_set1_epi8(9);
    const bool all_digits =
        _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(digits, nine), digits)) == 0xFFFF;
    // Neighbouring lanes are joined by multiply-adds: digit pairs with 10, then pairs of those
    // with 100 and with 10000, which leaves the value of bytes 0-7 and of bytes 8-15.
    const __m128i zero = _mm_setzero_si128();
    const __m128i by_10 = _mm_set1_epi32(0x0001'000A);
    const __m128i pairs = _mm_packs_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(digits, zero), by_10),
                                          _mm_madd_epi16(_mm_unpackhi_epi8(digits, zero), by_10));
    const __m128i quads = _mm_madd_epi16(pairs, _mm_set1_epi32(0x0001'0064));
    const __m128i halves =
        _mm_madd_epi16(_mm_packs_epi32(quads, quads), _mm_set1_epi32(0x0001'2710));
    const auto both = static_cast<std::uint64_t>(_mm_cvtsi128_si64(halves));
    const std::uint64_t value = (both & 0xFFFF'FFFFU) * 100'000'000 + (both >> 32U);
    return all_digits ? value : not_digits;
#else
    return digits_value_bytewise(end, count);
#endif
}

// The longest token the fast path takes: a sign and max_value_digits digits.
constexpr unsigned max_token_length = max_value_digits + 1;

// Parses the token of `length` bytes at `p`: true, with the value stored, when it is an
// optional sign and at most max_value_digits decimal digits, with a value in the 32-bit signed
// range. Anything else is left to the careful path.
inline bool parse_token(const char* p, unsigned length, std::int32_t& value) noexcept {
    const char lead = *p;
    const bool negative = lead == '-';
    const unsigned count = length - static_cast<unsigned>(negative || lead == '+');
    if (count - 1U >= max_value_digits) {  // no digits, or more than a value can have
        return false;
    }
    const std::uint64_t magnitude = digits_value(p + length, count);
    if (magnitude > std::uint64_t{INT32_MAX} + static_cast<std::uint64_t>(negative)) {
        return false;
    }
    // Negated without a branch, as signs come in random order: (x ^ -1) + 1 is -x.
    const auto flip = 0U - static_cast<std::uint32_t>(negative);
    value = static_cast<std::int32_t>((static_cast<std::uint32_t>(magnitude) ^ flip) - flip);
    return true;
}

}  // namespace arrtools::detail
