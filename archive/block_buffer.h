// The growable byte buffer that holds one data block at a time.
//
// Move-only, as platform::File is: one owner at a time, and the memory is
// freed when the owner goes, on every path. `length` is the size last asked
// for. Every allocation carries 1024 bytes of zero-filled slack beyond what
// was asked for, which readers of short first blocks rely on. A buffer
// allocated for 0 bytes still holds memory (256 bytes and the slack), so
// the length cannot tell whether memory is held; HoldsMemory() does.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/os.h"

namespace archive {

constexpr uint32_t kBlockBufferSlack = 1024;

class BlockBuffer {
 public:
  BlockBuffer() = default;
  BlockBuffer(BlockBuffer&& other) { TakeFrom(other); }
  BlockBuffer& operator=(BlockBuffer&& other) {
    if (this != &other) {
      Release();
      TakeFrom(other);
    }
    return *this;
  }
  BlockBuffer(const BlockBuffer&) = delete;
  BlockBuffer& operator=(const BlockBuffer&) = delete;
  ~BlockBuffer() { Release(); }

  uint32_t length() const { return length_; }
  unsigned char* data() const { return data_; }
  bool HoldsMemory() const { return handle_.raw != nullptr; }
  // The bytes the memory block really holds, slack included; 0 without one.
  size_t Capacity() const { return handle_.raw ? platform::MemSize(handle_) : 0; }

  // Replaces what the buffer held by memory for n bytes (256 when n is 0)
  // plus the slack, all zero; waits 100 ms and tries again while memory
  // is short.
  void Allocate(uint32_t n);
  // Frees the memory, if any, and sets the length to 0.
  void Release();
  // Makes room for n bytes, keeping the first `length` bytes.
  void Resize(uint32_t n);
  // The readers' rule for a data block of n bytes: a buffer shorter than
  // that is allocated again for twice the length.
  void GrowFor(uint32_t n);

 private:
  void TakeFrom(BlockBuffer& other) {
    length_ = other.length_;
    handle_ = other.handle_;
    data_ = other.data_;
    other.length_ = 0;
    other.handle_ = {};
    other.data_ = nullptr;
  }

  uint32_t length_ = 0;
  platform::MemoryHandle handle_;
  unsigned char* data_ = nullptr;
};

}  // namespace archive
