// Compressed blocks decoded by the codec's decompressor, for the unit tests
// and fuzz targets.
#pragma once

#include <vector>

namespace testing_support {

using Bytes = std::vector<unsigned char>;

// Runs DecompressBlock on a Block buffer holding a copy of `block` and
// returns what the buffer holds afterwards (its length bytes).
struct DecompressResult {
  int result = 0;
  Bytes bytes;
};
DecompressResult Decompress(const Bytes& block);

}  // namespace testing_support
