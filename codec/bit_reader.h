// Reads a compressed block's bit stream, most significant bit of each byte
// first. Past the block's last byte the stream goes on as 1-bits.
//
// Each symbol costs one unaligned load of a machine word (64 bits, or 32
// on a 32-bit host: either holds the 13 bits of the longest symbol even
// after the shift to the current bit), read big-endian; only the last
// bytes of a block take the slower path that supplies the 1-bits.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace codec {

class BitReader {
 public:
  using Word = size_t;
  static constexpr uint32_t kWordBits = sizeof(Word) * 8;

  BitReader(const unsigned char* data, size_t length, size_t position)
      : data_(data), length_(length), whole_word_end_(length >= sizeof(Word) ? length - sizeof(Word) + 1 : 0),
        byte_(position) {}

  // The stream from the current bit, left-aligned: at least the top
  // kWordBits - 7 bits are the stream's.
  Word Peek() const {
    if (byte_ < whole_word_end_) {
      Word word;
      memcpy(&word, data_ + byte_, sizeof word);
      return FromBigEndian(word) << bit_;
    }
    return PeekNearEnd();
  }

  // True once bits past the block's last byte were skipped: the stream
  // was read beyond its end.
  bool Overran() const { return byte_ > length_ || (byte_ == length_ && bit_ != 0); }

  void Skip(uint32_t count) {
    bit_ += count;
    byte_ += bit_ >> 3;
    bit_ &= 7;
  }

 private:
  static Word FromBigEndian(Word word) {
    if constexpr (std::endian::native == std::endian::big) {
      return word;
    } else if constexpr (sizeof(Word) == 8) {
      return __builtin_bswap64(word);
    } else {
      return __builtin_bswap32(word);
    }
  }

  Word PeekNearEnd() const {
    Word word = 0;
    for (size_t i = byte_; i < byte_ + sizeof(Word); ++i) word = word << 8 | (i < length_ ? data_[i] : 0xFF);
    return word << bit_;
  }

  const unsigned char* data_;
  size_t length_;
  size_t whole_word_end_;  // a word that starts before here lies inside the block
  size_t byte_;
  uint32_t bit_ = 0;
};

}  // namespace codec
