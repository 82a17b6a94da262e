#include <gtest/gtest.h>
#include <cstring>

#include "archive/block_buffer.h"
#include "platform/os.h"

namespace {

using archive::BlockBuffer;

TEST(BlockBuffer, AllocationKeepsSlackZeroedBeyondTheLength) {
  BlockBuffer buffer;
  archive::AllocateBlockBuffer(buffer, 100);
  EXPECT_EQ(buffer.length, 100u);
  ASSERT_GE(platform::MemSize(buffer.handle), 100u + archive::kBlockBufferSlack);
  for (uint32_t i = 0; i < 100 + archive::kBlockBufferSlack; ++i) ASSERT_EQ(buffer.data[i], 0) << i;
  archive::ReleaseBlockBuffer(buffer);
  EXPECT_EQ(buffer.length, 0u);
}

TEST(BlockBuffer, ZeroLengthStillHoldsMemory) {
  BlockBuffer buffer;
  archive::AllocateBlockBuffer(buffer, 0);
  EXPECT_EQ(buffer.length, 0u);
  EXPECT_GE(platform::MemSize(buffer.handle), 256u + archive::kBlockBufferSlack);
  // A zero length means "holds no memory" to its holders, so free it here.
  platform::MemFree(buffer.handle);
}

TEST(BlockBuffer, ResizeKeepsContentsAndReusesRoomyBlocks) {
  BlockBuffer buffer;
  archive::AllocateBlockBuffer(buffer, 10);
  memcpy(buffer.data, "0123456789", 10);
  const platform::MemoryHandle first = buffer.handle;

  archive::ResizeBlockBuffer(buffer, 500);  // fits inside the slack
  EXPECT_EQ(buffer.handle.raw, first.raw);
  EXPECT_EQ(buffer.length, 500u);

  buffer.length = 10;  // only the first `length` bytes move on growth
  archive::ResizeBlockBuffer(buffer, 5000);
  EXPECT_NE(buffer.handle.raw, first.raw);
  EXPECT_EQ(buffer.length, 5000u);
  EXPECT_EQ(memcmp(buffer.data, "0123456789", 10), 0);
  EXPECT_EQ(buffer.data[10], 0);
  archive::ReleaseBlockBuffer(buffer);
}

}  // namespace
