#include <gtest/gtest.h>

#include "archive/lane_checksum.h"
#include "test_support.h"

namespace {

archive::LaneChecksum Reference(const encoder::Bytes& bytes) {
  archive::LaneChecksum sum{};
  for (size_t i = 0; i < bytes.size() / 16 * 16; ++i) sum[i % 16] = static_cast<unsigned char>(sum[i % 16] + bytes[i]);
  return sum;
}

TEST(LaneChecksum, MatchesBytewiseSumsOverWholeRowsForManyLengths) {
  for (size_t length : {0u, 1u, 15u, 16u, 17u, 31u, 32u, 255u, 256u, 4111u, 70000u}) {
    encoder::Bytes bytes = testing_support::PatternBytes(length, static_cast<unsigned>(length));
    EXPECT_EQ(archive::ComputeLaneChecksum(bytes.data(), bytes.size()), Reference(bytes)) << length;
  }
}

TEST(LaneChecksum, IgnoresTheTailAndShortSequences) {
  encoder::Bytes bytes = testing_support::PatternBytes(31);
  archive::LaneChecksum before = archive::ComputeLaneChecksum(bytes.data(), 31);
  for (size_t i = 16; i < 31; ++i) bytes[i] ^= 0xFF;
  EXPECT_EQ(archive::ComputeLaneChecksum(bytes.data(), 31), before);
  bytes[15] ^= 1;
  EXPECT_NE(archive::ComputeLaneChecksum(bytes.data(), 31), before);

  encoder::Bytes shorter = testing_support::PatternBytes(15);
  EXPECT_EQ(archive::ComputeLaneChecksum(shorter.data(), 15), archive::LaneChecksum{});
}

TEST(LaneChecksum, WrapsEachLaneModulo256) {
  encoder::Bytes bytes(16 * 3, 0x80);  // three rows: 3 * 0x80 = 0x180 -> 0x80
  archive::LaneChecksum sum = archive::ComputeLaneChecksum(bytes.data(), bytes.size());
  for (unsigned char lane : sum) EXPECT_EQ(lane, 0x80);
}

}  // namespace
