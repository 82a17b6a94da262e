// Division of 64-bit numbers by shifting and subtracting, one step a bit.
// The 32-bit program would otherwise carry the C runtime's helpers for
// it (about 750 bytes of a stub that has a size to keep); the few
// divisions it makes (a percentage per block, a number's digits) cost
// nothing that shows.
#pragma once

#include <cstdint>

namespace base {

struct Division {
  uint64_t quotient;
  uint64_t remainder;
};

// divisor must not be 0.
Division Divide(uint64_t dividend, uint64_t divisor);

}  // namespace base
