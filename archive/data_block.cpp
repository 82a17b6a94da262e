#include "archive/data_block.h"

#include <cstring>

#include "archive/lane_checksum.h"
#include "base/little_endian.h"

namespace archive {

DataBlockResult ReadDataBlock(platform::InputFile& file, BlockBuffer& buffer) {
  DataBlockResult result;
  LaneChecksum stored;
  uint32_t n = file.Read(stored.data(), 16);
  result.consumed += n;
  if (n < 16) return result;

  unsigned char length_bytes[4];
  n = file.Read(length_bytes, 4);
  result.consumed += n;
  if (n < 4) return result;
  const uint32_t length = base::ReadLe32(length_bytes);
  result.length = length;

  uint64_t file_size = 0;
  if (!file.Size(&file_size)) return result;
  const uint64_t remaining = file_size > file.Position() ? file_size - file.Position() : 0;
  // Twice the length plus the buffer's slack must stay in the 32-bit range.
  if (length > remaining || length > (UINT32_MAX - kBlockBufferSlack) / 2) {
    // Consumes what is there, as the short read would have.
    file.Seek(file.Position() + remaining);
    result.consumed += remaining;
    return result;
  }

  GrowBlockBufferFor(buffer, length);
  n = file.Read(buffer.data, length);
  result.consumed += n;
  if (n < length) return result;

  result.status = ComputeLaneChecksum(buffer.data, length) == stored ? BlockRead::kOk
                                                                     : BlockRead::kChecksumMismatch;
  return result;
}

}  // namespace archive
