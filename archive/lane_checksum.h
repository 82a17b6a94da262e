// The lane checksum: sixteen byte-wide sums, lane i adding up every byte
// whose offset is i modulo 16, over whole rows of 16 bytes only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace archive {

using LaneChecksum = std::array<unsigned char, 16>;

// Adds the whole 16-byte rows of data to sum (modulo 256 per lane).
void AddLaneRows(LaneChecksum& sum, const unsigned char* data, size_t length);

inline LaneChecksum ComputeLaneChecksum(const unsigned char* data, size_t length) {
  LaneChecksum sum{};
  AddLaneRows(sum, data, length);
  return sum;
}

}  // namespace archive
