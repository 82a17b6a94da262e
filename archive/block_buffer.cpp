#include "archive/block_buffer.h"

#include <cstring>

namespace archive {

int AllocateBlockBuffer(BlockBuffer& buffer, uint32_t n) {
  buffer.length = n;
  size_t wanted = n == 0 ? 256 : n;
  for (;;) {
    platform::MemoryHandle handle = platform::MemAllocZeroed(wanted + kBlockBufferSlack);
    if (handle.raw && platform::MemSize(handle) >= wanted) {
      buffer.handle = handle;
      buffer.data = static_cast<unsigned char*>(platform::MemLock(handle));
      return 1;
    }
    if (handle.raw) platform::MemFree(handle);
    platform::Pause(100);
  }
}

int ReleaseBlockBuffer(BlockBuffer& buffer) {
  if (buffer.handle.raw) {
    platform::MemUnlock(buffer.handle);
    platform::MemFree(buffer.handle);
  }
  buffer.handle = {};
  buffer.data = nullptr;
  buffer.length = 0;
  return 1;
}

int ResizeBlockBuffer(BlockBuffer& buffer, uint32_t n) {
  if (!buffer.handle.raw || platform::MemSize(buffer.handle) < n) {
    BlockBuffer grown;
    AllocateBlockBuffer(grown, n);
    if (buffer.length != 0) memcpy(grown.data, buffer.data, buffer.length);
    ReleaseBlockBuffer(buffer);
    buffer = grown;
  }
  buffer.length = n;
  return 1;
}

void GrowBlockBufferFor(BlockBuffer& buffer, uint32_t length) {
  if (buffer.length >= length && buffer.handle.raw) return;
  ReleaseBlockBuffer(buffer);
  AllocateBlockBuffer(buffer, 2 * length);
}

}  // namespace archive
