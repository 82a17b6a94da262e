// Shared by the fuzz targets: puts fuzz bytes into a Block buffer the way
// the decode walk hands a block over, and takes it back afterwards.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "archive/block_buffer.h"

namespace fuzzing {

inline archive::BlockBuffer BlockFrom(const uint8_t* data, size_t size) {
  archive::BlockBuffer block;
  archive::AllocateBlockBuffer(block, static_cast<uint32_t>(size));
  if (size > 0) memcpy(block.data, data, size);
  return block;
}

// The buffer's bytes; frees its memory whichever buffer it now holds.
inline std::vector<uint8_t> TakeBlock(archive::BlockBuffer& block, const void* given_handle) {
  std::vector<uint8_t> bytes(block.data, block.data + block.length);
  if (block.handle.raw == given_handle || block.length != 0) archive::ReleaseBlockBuffer(block);
  return bytes;
}

}  // namespace fuzzing
