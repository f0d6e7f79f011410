#pragma once
// A run-time failure: a classic error number with its Japanese description.
// Thrown where a malformed file, an overflow or a bad index stops a procedure,
// caught only by the few handlers (start-up, LoadAll, passbook, window events).

#include <cstdint>
#include <stdexcept>
#include <string>

namespace zb {

struct RunError : std::runtime_error {
    int number;
    std::string description;  // UTF-8
    RunError(int n, std::string d) : std::runtime_error(d), number(n), description(std::move(d)) {}
};

enum ErrNo : int {
    kErrInvalidCall = 5,
    kErrOverflow = 6,
    kErrOutOfMemory = 7,
    kErrSubscript = 9,
    kErrTypeMismatch = 13,
    kErrFileNotFound = 53,
    kErrPastEnd = 62,
    kErrPermission = 70,
    kErrPathFileAccess = 75,
    kErrPathNotFound = 76,
};

// The usual description of a failure number.
std::string ErrorDescription(int number);

[[noreturn]] void Fail(int number);

}  // namespace zb
