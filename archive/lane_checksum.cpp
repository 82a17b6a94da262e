#include "archive/lane_checksum.h"

namespace archive {

void AddLaneRows(LaneChecksum& sum, const unsigned char* data, size_t length) {
  // Byte lanes wrap modulo 256 by themselves; the compiler turns the inner
  // loop into one 16-byte vector add per row.
  unsigned char lanes[16];
  for (int i = 0; i < 16; ++i) lanes[i] = sum[i];
  const size_t rows = length / 16;
  for (size_t r = 0; r < rows; ++r) {
    const unsigned char* row = data + r * 16;
    for (int i = 0; i < 16; ++i) lanes[i] = static_cast<unsigned char>(lanes[i] + row[i]);
  }
  for (int i = 0; i < 16; ++i) sum[i] = lanes[i];
}

}  // namespace archive
