// Appends bit fields to a byte string, most significant bit first, the way
// the decompressor reads them. Finish pads the last byte with 0-bits.
#pragma once

#include <cstdint>
#include <vector>

namespace encoder {

class BitWriter {
 public:
  explicit BitWriter(std::vector<unsigned char>& out) : out_(out) {}

  // Appends the low `count` bits of value (count up to 24).
  void Put(uint32_t value, uint32_t count) {
    pending_ = pending_ << count | (value & ((1u << count) - 1));
    pending_count_ += count;
    while (pending_count_ >= 8) {
      pending_count_ -= 8;
      out_.push_back(static_cast<unsigned char>(pending_ >> pending_count_));
    }
  }

  // Writes out a partly filled last byte.
  void Finish() {
    if (pending_count_ > 0) out_.push_back(static_cast<unsigned char>(pending_ << (8 - pending_count_)));
    pending_count_ = 0;
  }

 private:
  std::vector<unsigned char>& out_;
  uint64_t pending_ = 0;
  uint32_t pending_count_ = 0;
};

}  // namespace encoder
