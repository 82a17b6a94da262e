#include "tests/support/compressed_blocks.h"

#include <algorithm>

#include "codec/decompressor.h"

namespace test_support {

Bytes Decompress(const Bytes& block) {
  archive::BlockBuffer buffer;
  buffer.Allocate(static_cast<uint32_t>(block.size()));
  std::copy(block.begin(), block.end(), buffer.data());
  codec::DecompressBlock(buffer);
  return Bytes(buffer.data(), buffer.data() + buffer.length());
}

}  // namespace test_support
