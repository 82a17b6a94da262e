#include "base/wide_division.h"

namespace base {

Division Divide(uint64_t dividend, uint64_t divisor) {
  uint64_t quotient = 0;
  uint64_t remainder = 0;
  for (int bit = 63; bit >= 0; --bit) {
    // The remainder stays below the divisor; shifted, its top bit would be
    // lost, and then it is surely not below the divisor any more.
    const bool overflow = (remainder >> 63) != 0;
    remainder = remainder << 1 | ((dividend >> bit) & 1u);
    if (overflow || remainder >= divisor) {
      remainder -= divisor;
      quotient |= uint64_t{1} << bit;
    }
  }
  return {quotient, remainder};
}

}  // namespace base
