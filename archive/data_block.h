// A data block: its lane checksum, its length L and L enciphered bytes.
//
//   0  16  lane checksum of the L stored bytes
//  16   4  L
//  20   L  stored bytes
#pragma once

#include <cstdint>

#include "archive/block_buffer.h"
#include "platform/input_file.h"

namespace archive {

constexpr uint32_t kDataBlockHeaderSize = 20;

enum class BlockRead { kOk, kReadFailure, kChecksumMismatch };

struct DataBlockResult {
  BlockRead status = BlockRead::kReadFailure;
  uint32_t length = 0;    // L
  uint64_t consumed = 0;  // bytes the three reads returned
};

// Reads the block at the file's position and checks it; with a buffer, its
// bytes go into the buffer's data, which grows to twice L when its length
// is below L. A length that the rest of the file cannot hold, or whose
// double (with the buffer's slack) leaves the 32-bit range, is a read
// failure found before any memory is asked for.
DataBlockResult ReadDataBlockInto(platform::InputFile& file, BlockBuffer* buffer);

inline DataBlockResult ReadDataBlock(platform::InputFile& file, BlockBuffer& buffer) {
  return ReadDataBlockInto(file, &buffer);
}
// For a walk that does not need the bytes: they are checked where the
// file's read-ahead buffer holds them, never copied.
inline DataBlockResult CheckDataBlock(platform::InputFile& file) { return ReadDataBlockInto(file, nullptr); }

}  // namespace archive
