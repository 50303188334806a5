#pragma once
// core::Error: raised when an operation is used outside its contract (for
// example an empty-structure fold or a zero denominator). Ordinary failures
// are returned as values (Either, std::optional), never thrown.
#include <stdexcept>
#include <string>

namespace core {

class Error : public std::logic_error {
public:
    explicit Error(const std::string& message) : std::logic_error(message) {}
    explicit Error(const char* message) : std::logic_error(message) {}
};

// Throws core::Error with the message; out of line so that callers' hot
// paths stay small.
[[noreturn]] void raise(const char* message);
[[noreturn]] void raise(const std::string& message);

}  // namespace core
