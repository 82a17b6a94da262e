// The reference model of the decompressor: the plain decode loop over the
// reference dictionary, for checking the codec's fast decoder against.
#pragma once

#include <cstddef>
#include <vector>

namespace reference {

// What DecompressBlock leaves in a Block buffer that held `block`: the
// decoded bytes for a block with the compression signature, else the block
// as it was.
std::vector<unsigned char> Decompress(const unsigned char* block, size_t length);
inline std::vector<unsigned char> Decompress(const std::vector<unsigned char>& block) {
  return Decompress(block.data(), block.size());
}

}  // namespace reference
