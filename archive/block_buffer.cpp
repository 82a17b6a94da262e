// The Block buffer's memory: movable, zero-filled blocks from the platform
// seam, asked for again until the system has them.
#include "archive/block_buffer.h"

#include <cstring>
#include <utility>

namespace archive {

void ReleaseBlockMemory(BlockMemory& memory) {
  if (memory.handle.raw) {
    platform::MemUnlock(memory.handle);
    platform::MemFree(memory.handle);
  }
}

void BlockBuffer::Allocate(uint32_t n) {
  Release();
  const size_t wanted = n == 0 ? 256 : n;
  for (;;) {
    const platform::MemoryHandle handle = platform::MemAllocZeroed(wanted + kBlockBufferSlack);
    if (handle.raw && platform::MemSize(handle) >= wanted) {
      memory_.get() = {n, handle, static_cast<unsigned char*>(platform::MemLock(handle))};
      return;
    }
    if (handle.raw) platform::MemFree(handle);
    platform::WaitForMemory(100);
  }
}

void BlockBuffer::Resize(uint32_t n) {
  if (Capacity() < n) {
    BlockBuffer grown;
    grown.Allocate(n);
    if (length() != 0) memcpy(grown.data(), data(), length());
    *this = std::move(grown);
  }
  memory_.get().length = n;
}

void BlockBuffer::GrowFor(uint32_t n) {
  if (length() >= n && HoldsMemory()) return;
  Allocate(2 * n);
}

}  // namespace archive
