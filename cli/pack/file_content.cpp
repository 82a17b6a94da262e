#include "cli/pack/file_content.h"

#include <cstdint>

namespace cli {

size_t FileContent::Read(unsigned char* out, size_t count) {
  size_t done = 0;
  while (done < count) {
    const size_t left = count - done;
    const uint32_t asked = left > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(left);
    const uint32_t got = file_.Read(out + done, asked);
    done += got;
    if (got < asked) break;
  }
  progress_.Advance(done);
  return done;
}

bool FileContent::Unchanged(const platform::FileStamp& looked_at) {
  unsigned char extra;
  platform::FileStamp now;
  return file_.Read(&extra, 1) == 0 && platform::OsFileStamp(file_.os(), &now) && now == looked_at;
}

}  // namespace cli
