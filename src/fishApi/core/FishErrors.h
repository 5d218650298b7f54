// Typed failures of the engine. Each carries the message the user sees; the
// GUI and the command-line tool show it as it stands.
#pragma once

#include <stdexcept>
#include <string>

namespace fish {

class EFishError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A division whose divisor is exactly zero.
class EZeroDivide : public EFishError {
 public:
  EZeroDivide();
};

// The square root of a negative number, a NaN or an infinity met in a
// computation, or a value that does not fit a 64-bit integer when rounded.
class EInvalidOp : public EFishError {
 public:
  EInvalidOp();
};

// A value outside the range of the integer that has to hold it.
class ERangeError : public EFishError {
 public:
  ERangeError();
};

// A finite value whose result is too large for the extended format.
class EOverflow : public EFishError {
 public:
  EOverflow();
};

// A number of divisions outside 1..kMaxDivisions (0 fails as a division by zero).
class EDivisionsRange : public EFishError {
 public:
  explicit EDivisionsRange(long long divisions);
};

extern const char* const kMsgZeroDivide;
extern const char* const kMsgInvalidOp;
extern const char* const kMsgRangeError;
extern const char* const kMsgOverflow;

}  // namespace fish
