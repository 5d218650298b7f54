// Typed failures of the engine. Each carries the message the user sees; the
// GUI and the command-line tool show it as it stands, in the language chosen.
#pragma once

#include <stdexcept>
#include <string>

#include "Messages.h"

namespace fish {

class EFishError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  // A failure said by message id: what() is its text in the language chosen
  // when it was thrown, message() says it again in another.
  explicit EFishError(TMessage message) : std::runtime_error(message.text()), Message(std::move(message)) {}

  // Empty for the processor's own messages, which no language changes.
  const TMessage& message() const { return Message; }

 private:
  TMessage Message;
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
