#include "platform/core/checked.h"

namespace vantelo {

void raise_invalid_op() { throw InvalidOpError(); }
void raise_fp_overflow() { throw FpOverflowError(); }
void raise_zero_divide() { throw ZeroDivideError(); }
void raise_int_overflow() { throw IntOverflowError(); }
void raise_range() { throw RangeError(); }

}  // namespace vantelo
