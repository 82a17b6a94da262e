// Compressed blocks for the unit tests and fuzz targets: written symbol
// by symbol, and decoded by the codec's decompressor.
#pragma once

#include <cstdint>

#include "encoder/bit_writer.h"
#include "tests/support/reference_dictionary.h"

namespace testing_support {

using reference::Bytes;

// Runs DecompressBlock on a Block buffer holding a copy of `block` and
// returns what the buffer holds afterwards (its length bytes).
struct DecompressResult {
  int result = 0;
  Bytes bytes;
};
DecompressResult Decompress(const Bytes& block);

// Writes a stream as a compressor would, with the reference dictionary in
// step: for streams no compressor would make. Codes that do not exist are
// written too, and change nothing.
class StreamBuilder {
 public:
  StreamBuilder() = default;
  StreamBuilder(const StreamBuilder&) = delete;  // the writer holds on to the stream

  StreamBuilder& Literal(unsigned char byte);
  StreamBuilder& Literals(const Bytes& bytes);
  // A code by its value (the code less 256), at the current width.
  StreamBuilder& Code(uint32_t value);

  const reference::Dictionary& dictionary() const { return dictionary_; }
  // What a decoder makes of the symbols so far.
  const Bytes& expected() const { return expected_; }
  // The signature, the stated length and the stream.
  Bytes Block(uint32_t stated_length);

 private:
  reference::Dictionary dictionary_;
  Bytes stream_;
  encoder::BitWriter writer_{stream_};
  Bytes expected_;
};

}  // namespace testing_support
