// A failure that the system reported (a refused registry write, a locked file, a missing
// printer), carrying the system's own description for the user. It keeps its message itself:
// std::runtime_error would bring the standard library's own string and error classes into the
// executable.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace vorn {

class PlatformError : public std::exception {
 public:
  explicit PlatformError(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

}  // namespace vorn
