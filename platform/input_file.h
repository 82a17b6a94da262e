// A read-only file with a position and a read-ahead buffer.
//
// The walks over an archive read many small pieces (16-byte checksums,
// 4-byte lengths, single bytes during a header scan); the buffer turns
// them into large reads so that verifying a big archive costs about as
// much as copying it.
#pragma once

#include <cstdint>

#include "platform/file.h"

namespace platform {

class InputFile {
 public:
  InputFile() = default;
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool Open(const char* path);
  void Close();
  bool IsOpen() const { return file_.IsOpen(); }

  // Bytes read (count at most kBufferSize), fewer than asked at the end
  // of the file or on failure.
  uint32_t Read(void* buffer, uint32_t count);
  // The next count bytes (at most kBufferSize) where the read-ahead buffer
  // holds them, valid until the next call: for bytes that are only looked
  // at. Null when the file ends first.
  const unsigned char* ReadInPlace(uint32_t count);
  bool Seek(uint64_t position);
  uint64_t Position() const { return position_; }
  // Asked once, when the file is opened: an archive does not change while
  // it is read.
  bool Size(uint64_t* size) const {
    *size = size_;
    return size_known_;
  }

  static constexpr uint32_t kBufferSize = 256 * 1024;

 private:

  uint32_t Gather(uint32_t count);

  File file_;
  unsigned char* buffer_ = nullptr;  // malloc'ed: the stub links no C++ allocator
  uint64_t position_ = 0;      // logical position of the next byte
  uint64_t buffer_start_ = 0;  // file offset of buffer_[0]
  uint32_t buffer_fill_ = 0;   // valid bytes in buffer_
  uint64_t size_ = 0;
  bool size_known_ = false;
};

}  // namespace platform
