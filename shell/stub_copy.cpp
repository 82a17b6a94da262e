#include "shell/stub_copy.h"

#include "archive/check_block.h"
#include "archive/lane_checksum.h"
#include "archive/markers.h"
#include "platform/file.h"

namespace shell {

bool IsCheckBlock(const unsigned char* block, unsigned length) {
  return archive::StartsWithCheckMarker(block, length);
}

StubCopy CopyStub(const char* archive_path, const char* copy_path) {
  platform::File archive = platform::File::OpenRead(archive_path);
  if (!archive.IsOpen()) return StubCopy::kOpenFailed;
  platform::File copy = platform::File::CreateWrite(copy_path);
  if (!copy.IsOpen()) return StubCopy::kCreateFailed;
  archive::LaneChecksum sum{}, stored{};
  bool found = false;
  unsigned char block[archive::kCheckBlockSize];
  for (;;) {
    const uint32_t got = archive.Read(block, archive::kCheckBlockSize);
    if (got < archive::kCheckBlockSize) break;
    if (IsCheckBlock(block, got)) {
      for (unsigned i = 0; i < stored.size(); ++i) stored[i] = block[archive::kStoredChecksumOffset + i];
      found = true;
      break;
    }
    archive::AddLaneRows(sum, block, archive::kCheckBlockSize);
    if (copy.Write(block, got) != got) return StubCopy::kWriteFailed;
  }
  copy.Close();
  if (!found) {
    platform::OsDeleteFile(copy_path);
    return StubCopy::kNoCheckBlock;
  }
  return sum == stored ? StubCopy::kChecksumMatches : StubCopy::kChecksumDiffers;
}

}  // namespace shell
