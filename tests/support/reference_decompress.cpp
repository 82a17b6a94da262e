#include "tests/support/reference_decompress.h"

#include <cstdint>
#include <cstring>
#include <memory>

#include "codec/decoder.h"
#include "tests/support/reference_dictionary.h"

namespace reference {
namespace {

constexpr size_t kStreamOffset = 8;
// The Block buffer adds its slack to every size, which must fit 32 bits.
constexpr uint32_t kMaxDecodedLength = UINT32_MAX - archive::kBlockBufferSlack;

// The stream one bit at a time, 1-bits past the block's end.
class Bits {
 public:
  Bits(const unsigned char* block, size_t length) : block_(block), length_(length) {}
  uint32_t Take(uint32_t count) {
    uint32_t value = 0;
    for (uint32_t i = 0; i < count; ++i, ++bit_) {
      const size_t byte = kStreamOffset + bit_ / 8;
      const uint32_t bit = byte < length_ ? block_[byte] >> (7 - bit_ % 8) & 1 : 1;
      value = value << 1 | bit;
    }
    return value;
  }

 private:
  const unsigned char* block_;
  size_t length_;
  uint64_t bit_ = 0;
};

}  // namespace

std::vector<unsigned char> Decompress(const unsigned char* block, size_t length) {
  if (length < 4 || memcmp(block, codec::kCompressionSignature, 4) != 0) return {block, block + length};
  const uint32_t stated = length >= kStreamOffset ? block[4] | block[5] << 8 | block[6] << 16 | uint32_t{block[7]} << 24 : 0;
  std::vector<unsigned char> out;
  auto dictionary = std::make_unique<Dictionary>();
  ResetDictionary(*dictionary);
  Bits bits(block, length);
  uint16_t previous = kNoCode;
  uint32_t previous_length = 0;
  while (out.size() < stated) {
    ApplyWidthCheck(*dictionary);
    const uint32_t symbol = bits.Take(1) == 0 ? bits.Take(8) : bits.Take(dictionary->code_width) + kFirstPhraseCode;
    if (symbol >= dictionary->next_free_code && symbol != kNoCode) break;
    unsigned char phrase[kMaxPhraseLength];
    const uint32_t phrase_length =
        symbol == kNoCode ? 0 : ExpandCode(*dictionary, static_cast<uint16_t>(symbol), phrase + kMaxPhraseLength);
    const unsigned char* start = phrase + kMaxPhraseLength - phrase_length;
    if (phrase_length > kMaxDecodedLength - out.size()) break;
    out.insert(out.end(), start, start + phrase_length);
    AddCodes(*dictionary, previous, previous_length, start, phrase_length);
    previous = static_cast<uint16_t>(symbol);
    previous_length = phrase_length;
  }
  return out;
}

}  // namespace reference
