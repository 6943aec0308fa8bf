#pragma once

#include <string>
#include <string_view>

namespace arrtools::testing {

// A file that lives in memory and is closed when this goes: input to read from, or output to
// look at afterwards.
class TempFd {
  public:
    explicit TempFd(std::string_view contents = {});
    TempFd(const TempFd&) = delete;
    TempFd& operator=(const TempFd&) = delete;
    ~TempFd();

    [[nodiscard]] int fd() const noexcept { return fd_; }

    // Everything in the file, wherever its offset stands.
    [[nodiscard]] std::string contents() const;

  private:
    int fd_;
};

}  // namespace arrtools::testing
