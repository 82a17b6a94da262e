// Shared by the decompression fuzz targets: what they decode, mostly a
// block with the compression signature in front of the fuzz bytes (most
// random bytes lack one), the fuzz bytes as they are when they begin with
// 0xFF.
#pragma once

#include <cstdint>
#include <vector>

#include "codec/decoder.h"

namespace fuzzing {

inline std::vector<uint8_t> DecoderInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> input(codec::kCompressionSignature, codec::kCompressionSignature + 4);
  if (size > 0 && data[0] == 0xFF) input.clear();
  input.insert(input.end(), data, data + size);
  return input;
}

}  // namespace fuzzing
