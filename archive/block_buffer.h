// The growable byte buffer that holds one data block at a time.
//
// One owner at a time (platform::UniqueHandle), and the memory is freed
// when the owner goes, on every path. `length` is the size last asked
// for. Every allocation carries 1024 bytes of zero-filled slack beyond what
// was asked for, which readers of short first blocks rely on. A buffer
// allocated for 0 bytes still holds memory (256 bytes and the slack), so
// the length cannot tell whether memory is held; HoldsMemory() does.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/os.h"
#include "platform/unique_handle.h"

namespace archive {

constexpr uint32_t kBlockBufferSlack = 1024;

// The three fields of a Block buffer, in their order; given back by
// ReleaseBlockMemory.
struct BlockMemory {
  uint32_t length = 0;
  platform::MemoryHandle handle;
  unsigned char* data = nullptr;
};
void ReleaseBlockMemory(BlockMemory& memory);

class BlockBuffer {
 public:
  uint32_t length() const { return memory_.get().length; }
  unsigned char* data() const { return memory_.get().data; }
  bool HoldsMemory() const { return memory_.get().handle.raw != nullptr; }
  // The bytes the memory block really holds, slack included; 0 without one.
  size_t Capacity() const { return HoldsMemory() ? platform::MemSize(memory_.get().handle) : 0; }

  // Replaces what the buffer held by memory for n bytes (256 when n is 0)
  // plus the slack, all zero; waits 100 ms and tries again while memory
  // is short.
  void Allocate(uint32_t n);
  // Frees the memory, if any, and sets the length to 0.
  void Release() { memory_.Reset(); }
  // Makes room for n bytes, keeping the first `length` bytes.
  void Resize(uint32_t n);
  // The readers' rule for a data block of n bytes: a buffer shorter than
  // that is allocated again for twice the length.
  void GrowFor(uint32_t n);

 private:
  platform::UniqueHandle<BlockMemory, ReleaseBlockMemory> memory_;
};

}  // namespace archive
