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
// The most bytes of a compressed block (its 8 header bytes included) that
// decoding its first `decoded` bytes can read: a symbol takes at most 13
// bits and yields at least one byte.
constexpr uint32_t StreamBytesFor(uint32_t decoded) { return 8 + (decoded * 13 + 7) / 8; }

// How a block's stream held up. A well-made stream decodes to exactly its
// stated length within the block's bytes, from codes that exist when they
// are read; a wrong key or a faulty encoder gives one that does not.
enum class StreamCheck { kStored, kWhole, kBroken };

// All the state of decoding, so that each thread that decodes can own one.
// About 2 MiB: keep it in zero-filled storage (static, or value-initialised
// as by `new Decoder()`).
class Decoder {
 public:
  // Replaces a block that has the signature (its length is the Block
  // buffer's length) by the decoded bytes, in a new Block buffer: the old
  // memory is released. Leaves any other block untouched (kStored). A
  // broken stream still leaves what it decoded.
  StreamCheck Decompress(archive::BlockBuffer& block);
  // Decodes the start of the compressed block whose first `readable`
  // bytes are at data: at least `wanted` bytes, or the stated length when
  // that is less, into output (its length is what was decoded); *stated
  // receives the stated length. kBroken when the stream went wrong before
  // then. `readable` should be StreamBytesFor(wanted), or the whole block.
  StreamCheck DecodeStart(const unsigned char* data, uint32_t readable, uint32_t wanted, archive::BlockBuffer& output,
                          uint32_t* stated);

 private:
  struct Decoded {
    uint32_t count;
    bool broken;
  };
  Decoded DecodeStream(const unsigned char* data, uint32_t readable, uint32_t goal, archive::BlockBuffer& output);

  Dictionary dictionary_;
};

}  // namespace codec
