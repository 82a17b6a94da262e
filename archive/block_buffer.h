// The growable byte buffer that holds one data block at a time.
//
// A plain record of three fields, in this order. `length` is the size last
// asked for, and 0 means that the buffer holds no memory: holders test the
// length, never the pointer. Every allocation carries 1024 bytes of
// zero-filled slack beyond what was asked for, which readers of short first
// blocks rely on.
#pragma once

#include <cstdint>

#include "platform/os.h"

namespace archive {

struct BlockBuffer {
  uint32_t length = 0;
  platform::MemoryHandle handle;
  unsigned char* data = nullptr;
};

constexpr uint32_t kBlockBufferSlack = 1024;

// Allocates for n bytes (256 when n is 0) plus the slack; waits 100 ms and
// tries again while memory is short. Returns 1.
int AllocateBlockBuffer(BlockBuffer& buffer, uint32_t n);
// Frees the memory and sets the length to 0. Returns 1.
int ReleaseBlockBuffer(BlockBuffer& buffer);
// Makes room for n bytes, keeping the first `length` bytes. Returns 1.
int ResizeBlockBuffer(BlockBuffer& buffer, uint32_t n);

}  // namespace archive
