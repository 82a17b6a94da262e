#include <gtest/gtest.h>

#include "archive/lane_checksum.h"
#include "encoder/sample_data.h"

namespace {

// Sixteen lanes, each the byte sum modulo 256 of its column over the whole
// rows; a tail shorter than a row counts for nothing.
TEST(LaneChecksum, MatchesBytewiseSumsOverWholeRowsForManyLengths) {
  for (size_t length : {0u, 1u, 15u, 16u, 17u, 31u, 32u, 255u, 256u, 4111u, 70000u}) {
    const auto bytes = encoder::RandomBytes(length, static_cast<unsigned>(length));
    archive::LaneChecksum expected{};
    for (size_t i = 0; i < length / 16 * 16; ++i) expected[i % 16] = static_cast<unsigned char>(expected[i % 16] + bytes[i]);
    EXPECT_EQ(archive::ComputeLaneChecksum(bytes.data(), bytes.size()), expected) << length;
  }
}

}  // namespace
