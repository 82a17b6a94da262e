#include "platform/input_file.h"

#include <cstdlib>
#include <cstring>

namespace platform {

bool InputFile::Open(const char* path) {
  file_ = File::OpenRead(path);
  if (!IsOpen()) return false;
  if (!buffer_) buffer_ = static_cast<unsigned char*>(malloc(kBufferSize));
  if (!buffer_) {
    Close();
    return false;
  }
  position_ = buffer_start_ = 0;
  buffer_fill_ = 0;
  return true;
}

InputFile::~InputFile() { free(buffer_); }

void InputFile::Close() { file_.Close(); }

uint32_t InputFile::Read(void* out, uint32_t count) {
  auto* dest = static_cast<unsigned char*>(out);
  uint32_t done = 0;
  while (done < count) {
    uint64_t buffer_end = buffer_start_ + buffer_fill_;
    if (position_ >= buffer_start_ && position_ < buffer_end) {
      uint32_t offset = static_cast<uint32_t>(position_ - buffer_start_);
      uint32_t take = buffer_fill_ - offset;
      if (take > count - done) take = count - done;
      memcpy(dest + done, buffer_ + offset, take);
      done += take;
      position_ += take;
      continue;
    }
    // The system's position is always at the end of the buffered range.
    if (position_ != buffer_end && !file_.Seek(position_)) break;
    uint32_t rest = count - done;
    if (rest >= kBufferSize) {
      // Large reads go straight to the caller's memory.
      uint32_t n = file_.Read(dest + done, rest);
      buffer_start_ = position_ + n;
      buffer_fill_ = 0;
      done += n;
      position_ += n;
      if (n < rest) break;
      continue;
    }
    buffer_start_ = position_;
    buffer_fill_ = file_.Read(buffer_, kBufferSize);
    if (buffer_fill_ == 0) break;
  }
  return done;
}

bool InputFile::Seek(uint64_t position) {
  if (!IsOpen()) return false;
  position_ = position;
  // The OS position is fixed up by the next read that misses the buffer.
  return true;
}

}  // namespace platform
