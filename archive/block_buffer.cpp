// The Block buffer's memory: movable, zero-filled blocks from the platform
// seam, asked for again until the system has them.
#include "archive/block_buffer.h"

#include <cstring>
#include <utility>

namespace archive {

void BlockBuffer::Allocate(uint32_t n) {
  Release();
  const size_t wanted = n == 0 ? 256 : n;
  for (;;) {
    const platform::MemoryHandle handle = platform::MemAllocZeroed(wanted + kBlockBufferSlack);
    if (handle.raw && platform::MemSize(handle) >= wanted) {
      handle_ = handle;
      data_ = static_cast<unsigned char*>(platform::MemLock(handle));
      length_ = n;
      return;
    }
    if (handle.raw) platform::MemFree(handle);
    platform::WaitForMemory(100);
  }
}

void BlockBuffer::Release() {
  if (handle_.raw) {
    platform::MemUnlock(handle_);
    platform::MemFree(handle_);
  }
  handle_ = {};
  data_ = nullptr;
  length_ = 0;
}

void BlockBuffer::Resize(uint32_t n) {
  if (Capacity() < n) {
    BlockBuffer grown;
    grown.Allocate(n);
    if (length_ != 0) memcpy(grown.data_, data_, length_);
    *this = std::move(grown);
  }
  length_ = n;
}

void BlockBuffer::GrowFor(uint32_t n) {
  if (length_ >= n && HoldsMemory()) return;
  Allocate(2 * n);
}

}  // namespace archive
