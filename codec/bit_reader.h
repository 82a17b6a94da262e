// Reads a compressed block's bit stream, most significant bit of each byte
// first. Past the block's last byte the stream goes on as 1-bits.
#pragma once

#include <cstdint>

namespace codec {

class BitReader {
 public:
  BitReader(const unsigned char* data, uint32_t length, uint32_t position)
      : data_(data), length_(length), position_(position) {}

  // Makes at least 57 bits ready: enough for any one symbol.
  void Refill() {
    while (ready_ <= 56) {
      const uint64_t byte = position_ < length_ ? data_[position_++] : 0xFF;
      window_ |= byte << (56 - ready_);
      ready_ += 8;
    }
  }

  // The next `count` bits (1 to 16) as a number; Refill must have made
  // them ready.
  uint32_t Take(uint32_t count) {
    const uint32_t value = static_cast<uint32_t>(window_ >> (64 - count));
    window_ <<= count;
    ready_ -= count;
    return value;
  }

 private:
  const unsigned char* data_;
  uint32_t length_;
  uint32_t position_;
  uint64_t window_ = 0;  // ready bits, left-aligned
  uint32_t ready_ = 0;
};

}  // namespace codec
