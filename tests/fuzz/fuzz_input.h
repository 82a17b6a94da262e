// Shared by the fuzz targets: puts fuzz bytes into a Block buffer the way
// the decode walk hands a block over, and takes it back afterwards.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "archive/block_buffer.h"
#include "codec/decoder.h"

namespace fuzzing {

// What the decompression targets decode: mostly a block with the
// compression signature in front of the fuzz bytes (most random bytes
// lack one), the fuzz bytes as they are when they begin with 0xFF.
inline std::vector<uint8_t> DecoderInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> input(codec::kCompressionSignature, codec::kCompressionSignature + 4);
  if (size > 0 && data[0] == 0xFF) input.clear();
  input.insert(input.end(), data, data + size);
  return input;
}

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
