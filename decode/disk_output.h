// The output file of one entry on disk, for the decode sinks that write
// real files: created replacing any file, written whole blocks at a time,
// finished with the record's times (while open) and attributes (after).
#pragma once

#include <cstdint>

#include "archive/file_record.h"
#include "platform/file.h"

namespace decode {

// The times an entry's record carries, as the seam sets them.
inline platform::FileTimes StoredTimes(const archive::FileRecord& record) {
  platform::FileTimes times;
  times.creation = record.creation_time;
  times.last_access = record.last_access_time;
  times.last_write = record.last_write_time;
  return times;
}

class DiskOutput {
 public:
  bool Create(const char* path);
  uint32_t Write(const unsigned char* bytes, uint32_t count) { return file_.Write(bytes, count); }
  void Finish(const char* path, const archive::FileRecord& record);
  void Abandon() { file_.Close(); }

 private:
  platform::File file_;
};

}  // namespace decode
