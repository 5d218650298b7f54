#include "FishErrors.h"

#include "FishTypes.h"

namespace fish {

const char* const kMsgZeroDivide = "Floating point division by zero";
const char* const kMsgInvalidOp = "Invalid floating point operation";
const char* const kMsgRangeError = "Range check error";
const char* const kMsgOverflow = "Floating point overflow";

EZeroDivide::EZeroDivide() : EFishError(kMsgZeroDivide) {}
EInvalidOp::EInvalidOp() : EFishError(kMsgInvalidOp) {}
ERangeError::ERangeError() : EFishError(kMsgRangeError) {}
EOverflow::EOverflow() : EFishError(kMsgOverflow) {}

EDivisionsRange::EDivisionsRange(long long divisions)
    : EFishError(TMessage(FISH_TR("errors", "Число делений %1 недопустимо: допускается от 1 до %2"),
                          {std::to_string(divisions), std::to_string(kMaxDivisions)})) {}

}  // namespace fish
