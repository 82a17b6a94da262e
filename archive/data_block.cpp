#include "archive/data_block.h"

#include <cstring>

#include "archive/lane_checksum.h"
#include "base/little_endian.h"

namespace archive {

DataBlockResult ReadDataBlockInto(platform::InputFile& file, BlockBuffer* buffer) {
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

  if (buffer) buffer->GrowFor(length);
  // Summed in the file's read-ahead buffer, piece by piece. Whole rows in
  // every piece but the last, so that the sum of the pieces is the block's.
  constexpr uint32_t kPiece = platform::InputFile::kBufferSize / 16;
  static_assert(kPiece % 16 == 0);
  LaneChecksum sum{};
  for (uint32_t done = 0; done < length;) {
    const uint32_t piece = length - done < kPiece ? length - done : kPiece;
    const unsigned char* bytes = file.ReadInPlace(piece);
    if (!bytes) return result;
    if (buffer) memcpy(buffer->data() + done, bytes, piece);
    AddLaneRows(sum, bytes, piece);
    result.consumed += piece;
    done += piece;
  }
  result.status = sum == stored ? BlockRead::kOk : BlockRead::kChecksumMismatch;
  return result;
}

}  // namespace archive
