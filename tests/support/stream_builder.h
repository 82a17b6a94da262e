// Writes compressed blocks symbol by symbol, as a compressor would, with
// the reference dictionary in step: for streams no compressor would make.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "encoder/bit_writer.h"
#include "tests/support/reference_dictionary.h"

namespace testing_support {

using Bytes = std::vector<unsigned char>;

// Signature, stated length, stream.
Bytes BlockWithStream(uint32_t stated_length, const Bytes& stream);

// Knows the code width and what a decoder should produce. Codes that do
// not exist are written too, and change nothing.
class StreamBuilder {
 public:
  StreamBuilder();

  StreamBuilder& Literal(unsigned char byte);
  // A code by its value (the code less 256), at the current width.
  StreamBuilder& Code(uint32_t value);
  StreamBuilder& Literals(const Bytes& bytes);

  const reference::Dictionary& dictionary() const { return *dictionary_; }
  const Bytes& expected() const { return expected_; }
  Bytes Block(uint32_t stated_length);

 private:
  StreamBuilder& Apply(uint16_t symbol);

  std::unique_ptr<reference::Dictionary> dictionary_ = std::make_unique<reference::Dictionary>();
  Bytes stream_;
  encoder::BitWriter writer_{stream_};
  Bytes expected_;
  uint16_t previous_ = reference::kNoCode;
  uint32_t previous_length_ = 0;
};

}  // namespace testing_support
