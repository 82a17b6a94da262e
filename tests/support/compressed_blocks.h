// Compressed blocks decoded by the codec's decompressor, for the unit tests
// and fuzz targets.
#pragma once

#include "encoder/bytes.h"

namespace test_support {

using encoder::Bytes;

// Runs DecompressBlock on a Block buffer holding a copy of `block` and
// returns what the buffer holds afterwards (its length bytes).
Bytes Decompress(const Bytes& block);

}  // namespace test_support
