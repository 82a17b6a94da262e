// The dictionary decoder. A deciphered block that begins with the
// compression signature 71 0A 09 0D holds its plain length at offset 4
// and a stream of literals and dictionary codes from offset 8.
#pragma once

#include "archive/block_buffer.h"
#include "codec/dictionary.h"

namespace codec {

constexpr unsigned char kCompressionSignature[4] = {0x71, 0x0A, 0x09, 0x0D};

// The most bytes a compressed block of block_length bytes (at least 8) can
// decode to. Each symbol takes at least two bits and yields at most 128
// bytes; past the block's end the stream's 1-bits form a valid code only
// while the code width grows, a dozen times at most.
uint32_t MostDecodedLength(uint32_t block_length);

// All the state of decoding, so that each thread that decodes can own one.
// About 2 MiB: keep it in zero-filled storage (static, or value-initialised
// as by `new Decoder()`).
class Decoder {
 public:
  // Replaces a block that has the signature (its length is the Block
  // buffer's length) by the decoded bytes, in a new Block buffer: the old
  // memory is released. Leaves any other block untouched.
  void Decompress(archive::BlockBuffer& block);

 private:
  uint32_t DecodeStream(const archive::BlockBuffer& block, uint32_t stated_length, archive::BlockBuffer& output);

  Dictionary dictionary_;
};

}  // namespace codec
