// The growable byte buffer that holds one data block at a time.
//
// A plain record of three fields, in this order. `length` is the size last
// asked for. Every allocation carries 1024 bytes of zero-filled slack
// beyond what was asked for, which readers of short first blocks rely on.
//
// A buffer allocated for 0 bytes still holds memory (256 bytes and the
// slack), so the length cannot tell whether memory is held: the handle
// does, and releasing clears it. Release is therefore safe on any buffer,
// and every holder frees its buffer by releasing it, whatever its length.
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
// tries again while memory is short. The buffer must hold no memory.
// Returns 1.
int AllocateBlockBuffer(BlockBuffer& buffer, uint32_t n);
// Frees the memory, if the buffer holds any, and sets the length to 0.
// Returns 1.
int ReleaseBlockBuffer(BlockBuffer& buffer);
// Makes room for n bytes, keeping the first `length` bytes. Returns 1.
int ResizeBlockBuffer(BlockBuffer& buffer, uint32_t n);
// The readers' rule for a data block of `length` bytes: a buffer shorter
// than that is released and allocated again for twice the length.
void GrowBlockBufferFor(BlockBuffer& buffer, uint32_t length);

}  // namespace archive
