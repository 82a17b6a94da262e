// An open file that closes itself. Move-only: one owner at a time, and the
// file is closed on every path out of the scope that holds it.
#pragma once

#include <cstdint>

#include "platform/os.h"

namespace platform {

class File {
 public:
  File() = default;
  static File OpenRead(const char* path) { return File(OsOpenRead(path)); }
  static File CreateWrite(const char* path) { return File(OsCreateWrite(path)); }
  static File CreateNew(const char* path) { return File(OsCreateNew(path)); }
  // Takes ownership of a file the system opened.
  static File Adopt(OsFile os) { return File(os); }

  File(File&& other) : os_(other.os_) { other.os_ = OsFile{}; }
  File& operator=(File&& other) {
    if (this != &other) {
      Close();
      os_ = other.os_;
      other.os_ = OsFile{};
    }
    return *this;
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File() { Close(); }

  bool IsOpen() const { return os_.raw != nullptr; }
  void Close() { OsClose(os_); }
  // Bytes transferred: fewer than asked at the end of the file or on failure.
  uint32_t Read(void* buffer, uint32_t count) { return OsRead(os_, buffer, count); }
  uint32_t Write(const void* buffer, uint32_t count) { return OsWrite(os_, buffer, count); }
  bool Seek(uint64_t offset) { return OsSeek(os_, offset); }
  bool Size(uint64_t* size) const { return OsSize(os_, size); }
  bool SetTimes(const FileTimes& times) { return OsSetFileTimes(os_, times); }
  // The system's file, still owned here: for calls on the open file.
  OsFile os() const { return os_; }

 private:
  explicit File(OsFile os) : os_(os) {}
  OsFile os_;
};

}  // namespace platform
