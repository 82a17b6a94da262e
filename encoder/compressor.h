// The compressor that mirrors the decompressor: the same dictionary, the
// same moves and additions after every symbol, the same width check before
// it. It sends, at each position, the longest phrase it may send: a code
// that exists and fits the current width, never reaching past the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace encoder {

// The whole compressed block: signature, stated length (the input length,
// which must fit 32 bits) and the bit stream.
std::vector<unsigned char> CompressBlock(const unsigned char* plain, size_t length);
inline std::vector<unsigned char> CompressBlock(const std::vector<unsigned char>& plain) {
  return CompressBlock(plain.data(), plain.size());
}

}  // namespace encoder
