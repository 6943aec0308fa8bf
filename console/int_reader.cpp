#include "int_reader.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "descriptor.hpp"
#include "output_writer.hpp"

namespace arrtools {

IntReader::IntReader(int fd, OutputWriter* tied, std::size_t capacity)
    : fd_(fd),
      tied_(tied),
      echoes_(tied != nullptr && isatty(fd) == 1),
      capacity_(capacity == 0 ? 1 : capacity),
      buffer_(std::make_unique<char[]>(front_padding + capacity_ + padding)),
      pos_(buffer_.get() + front_padding),
      end_(pos_) {}

// Byte by byte, reading more input whenever the buffer runs out: this path handles a token cut
// across two reads, and every kind of bad token.
ReadStatus IntReader::read_slow(std::int32_t& value) {
    token_.clear();
    char c = 0;
    for (;;) {
        if (!next_byte(c)) {
            return error_number_ != 0 ? ReadStatus::read_error : ReadStatus::end_of_input;
        }
        if (!detail::is_blank(c)) {
            break;
        }
        ++pos_;
    }

    const bool negative = c == '-';
    if (negative || c == '+') {
        keep_token_byte(c);
        ++pos_;
        if (!next_byte(c)) {
            return ReadStatus::not_integer;
        }
    }
    if (!detail::is_digit(c)) {
        return finish_bad_token();
    }

    bool have_more = true;
    while (have_more && c == '0') {
        ++pos_;
        have_more = next_byte(c);
    }
    std::uint64_t magnitude = 0;
    std::size_t significant = 0;
    while (have_more && detail::is_digit(c)) {
        if (significant < detail::max_value_digits + 1) {
            magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
        }
        ++significant;
        keep_token_byte(c);
        ++pos_;
        // An integer that is already too long ends the read once its text is long enough to
        // quote: nothing more of it is needed.
        if (significant > detail::max_value_digits && token_.size() > max_token_text) {
            return ReadStatus::out_of_range;
        }
        have_more = next_byte(c);
    }
    if (!have_more && error_number_ != 0) {
        return ReadStatus::read_error;
    }

    const std::uint64_t limit = negative ? std::uint64_t{1} << 31U : (std::uint64_t{1} << 31U) - 1;
    if (significant > detail::max_value_digits || magnitude > limit) {
        return ReadStatus::out_of_range;
    }
    const auto signed_magnitude = static_cast<std::int64_t>(magnitude);
    value = static_cast<std::int32_t>(negative ? -signed_magnitude : signed_magnitude);
    return ReadStatus::value;
}

// The byte at the read position, reading more input when the buffer is used up. False at the
// end of input or on a read error.
bool IntReader::next_byte(char& byte) {
    if (pos_ == end_ && !refill()) {
        return false;
    }
    byte = *pos_;
    return true;
}

bool IntReader::refill() {
    if (ended_) {
        return false;
    }
    if (tied_ != nullptr) {
        tied_->flush();
    }
    char* const data = buffer_.get() + front_padding;
    const ssize_t got = read_some(fd_, data, capacity_);
    if (got <= 0) {
        error_number_ = got < 0 ? errno : 0;
        ended_ = true;
        pos_ = end_ = data;
        std::memset(data, 0, padding);
        return false;
    }
    const auto size = static_cast<std::size_t>(got);
    std::memset(data + size, 0, padding);
    pos_ = data;
    end_ = data + size;
    if (echoes_ && tied_ != nullptr) {
        tied_->note_echo({data, size});
    }
    return true;
}

void IntReader::keep_token_byte(char byte) {
    if (token_.size() < max_token_text) {
        token_.push_back(byte);
    } else if (token_.size() == max_token_text) {
        token_ += "...";
    }
}

// The rest of a token that is not an integer, up to the next blank, kept for the message.
ReadStatus IntReader::finish_bad_token() {
    char c = 0;
    while (token_.size() <= max_token_text && next_byte(c) && !detail::is_blank(c)) {
        keep_token_byte(c);
        ++pos_;
    }
    return ReadStatus::not_integer;
}

}  // namespace arrtools
