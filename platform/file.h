// An open file that closes itself: one owner at a time (UniqueHandle).
#pragma once

#include <cstdint>

#include "platform/os.h"
#include "platform/unique_handle.h"

namespace platform {

class File {
 public:
  File() = default;
  static File OpenRead(const char* path) { return File(OsOpenRead(path)); }
  static File CreateWrite(const char* path) { return File(OsCreateWrite(path)); }
  static File CreateNew(const char* path) { return File(OsCreateNew(path)); }
  // Takes ownership of a file the system opened.
  static File Adopt(OsFile os) { return File(os); }

  bool IsOpen() const { return os().raw != nullptr; }
  void Close() { os_.Reset(); }
  // Bytes transferred: fewer than asked at the end of the file or on failure.
  uint32_t Read(void* buffer, uint32_t count) { return OsRead(os(), buffer, count); }
  uint32_t Write(const void* buffer, uint32_t count) { return OsWrite(os(), buffer, count); }
  bool Seek(uint64_t offset) { return OsSeek(os(), offset); }
  bool Size(uint64_t* size) const { return OsSize(os(), size); }
  bool SetTimes(const FileTimes& times) { return OsSetFileTimes(os(), times); }
  // The system's file, still owned here: for calls on the open file.
  OsFile os() const { return os_.get(); }

 private:
  explicit File(OsFile os) : os_(os) {}
  UniqueHandle<OsFile, OsClose> os_;
};

}  // namespace platform
