// Eight bytes at a time through unaligned word loads and stores: the
// cipher passes and the even-column copies run over whole blocks, and the
// stub is built for size, so the wide loops are written out rather than
// left to the vectoriser.
#pragma once

#include <cstdint>
#include <cstring>

namespace codec {

inline uint64_t LoadWord(const unsigned char* p) {
  uint64_t w;
  memcpy(&w, p, 8);
  return w;
}

inline void StoreWord(unsigned char* p, uint64_t w) { memcpy(p, &w, 8); }

// dst[i] ^= src[i] for i < count; the two ranges must not overlap.
inline void XorBytes(unsigned char* dst, const unsigned char* src, uint32_t count) {
  uint32_t i = 0;
  for (; i + 8 <= count; i += 8) StoreWord(dst + i, LoadWord(dst + i) ^ LoadWord(src + i));
  for (; i < count; ++i) dst[i] ^= src[i];
}

// The bytes at even offsets of a word, whatever the machine's byte order.
// The builtin behind std::bit_cast: Emscripten's C++ library lacks the name.
struct EightBytes {
  unsigned char bytes[8];
};
inline constexpr uint64_t kEvenByteMask =
    __builtin_bit_cast(uint64_t, EightBytes{{0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0}});

}  // namespace codec
