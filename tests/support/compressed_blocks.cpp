#include "tests/support/compressed_blocks.h"

#include <algorithm>

#include "codec/decompressor.h"

namespace testing_support {

DecompressResult Decompress(const Bytes& block) {
  archive::BlockBuffer buffer;
  archive::AllocateBlockBuffer(buffer, static_cast<uint32_t>(block.size()));
  std::copy(block.begin(), block.end(), buffer.data);
  const void* given = buffer.handle.raw;
  DecompressResult out;
  out.result = codec::DecompressBlock(buffer);
  out.bytes.assign(buffer.data, buffer.data + buffer.length);
  // The buffer given is still ours when it came back untouched, whatever
  // its length; a new one holds memory only when its length is not 0.
  if (buffer.handle.raw == given || buffer.length != 0) archive::ReleaseBlockBuffer(buffer);
  return out;
}

}  // namespace testing_support
