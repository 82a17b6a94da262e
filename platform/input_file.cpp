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
  size_known_ = file_.Size(&size_);
  return true;
}

InputFile::~InputFile() { free(buffer_); }

void InputFile::Close() { file_.Close(); }

// Makes up to count bytes (at most kBufferSize) from the position on stand
// together in the buffer; returns how many do, fewer only at the end of
// the file or on failure.
uint32_t InputFile::Gather(uint32_t count) {
  const uint64_t buffer_end = buffer_start_ + buffer_fill_;
  const bool inside = position_ >= buffer_start_ && position_ < buffer_end;
  if (!inside || position_ + count > buffer_end) {
    // The buffered bytes from the position on move to the front and the
    // file fills the rest. The system's position is always at the end of
    // the buffered range.
    uint32_t kept = 0;
    if (inside) {
      kept = static_cast<uint32_t>(buffer_end - position_);
      memmove(buffer_, buffer_ + (position_ - buffer_start_), kept);
    } else if (position_ != buffer_end && !file_.Seek(position_)) {
      return 0;
    }
    buffer_start_ = position_;
    buffer_fill_ = kept + file_.Read(buffer_ + kept, kBufferSize - kept);
  }
  const uint64_t available = buffer_start_ + buffer_fill_ - position_;
  return available < count ? static_cast<uint32_t>(available) : count;
}

uint32_t InputFile::Read(void* out, uint32_t count) {
  const uint32_t n = Gather(count);
  memcpy(out, buffer_ + (position_ - buffer_start_), n);
  position_ += n;
  return n;
}

const unsigned char* InputFile::ReadInPlace(uint32_t count) {
  const uint32_t n = Gather(count);
  const unsigned char* bytes = buffer_ + (position_ - buffer_start_);
  position_ += n;
  return n == count ? bytes : nullptr;
}

bool InputFile::Seek(uint64_t position) {
  if (!IsOpen()) return false;
  position_ = position;
  // The OS position is fixed up by the next read that misses the buffer.
  return true;
}

}  // namespace platform
