// The program's own 64-bit division: the same quotient and remainder as
// the machine's, at the edges of 32 and 64 bits and for many numbers.
#include <gtest/gtest.h>

#include <random>

#include "base/wide_division.h"

namespace {

void ExpectAsTheMachine(uint64_t dividend, uint64_t divisor) {
  const base::Division division = base::Divide(dividend, divisor);
  EXPECT_EQ(division.quotient, dividend / divisor) << dividend << " / " << divisor;
  EXPECT_EQ(division.remainder, dividend % divisor) << dividend << " % " << divisor;
}

TEST(WideDivision, GivesWhatTheMachineGives) {
  const uint64_t edges[] = {0, 1, 2, 3, 9, 10, 99, 100, 0xFFFFFFFFull, 0x100000000ull, 0x8000000000000000ull,
                            0xFFFFFFFFFFFFFFFEull, 0xFFFFFFFFFFFFFFFFull};
  for (uint64_t dividend : edges) {
    for (uint64_t divisor : edges) {
      if (divisor != 0) ExpectAsTheMachine(dividend, divisor);
    }
  }
  std::mt19937_64 random(42);
  for (int i = 0; i < 2000; ++i) {
    const uint64_t dividend = random() >> (random() % 64);
    const uint64_t divisor = (random() >> (random() % 64)) | 1;
    ExpectAsTheMachine(dividend, divisor);
  }
}

}  // namespace
