#include "tests/support/stream_builder.h"

#include <algorithm>
#include <cstring>

#include "base/little_endian.h"
#include "codec/decoder.h"

namespace testing_support {

Bytes BlockWithStream(uint32_t stated_length, const Bytes& stream) {
  Bytes block(8 + stream.size());
  memcpy(block.data(), codec::kCompressionSignature, 4);
  base::WriteLe32(block.data() + 4, stated_length);
  std::copy(stream.begin(), stream.end(), block.begin() + 8);
  return block;
}

StreamBuilder::StreamBuilder() { reference::ResetDictionary(*dictionary_); }

StreamBuilder& StreamBuilder::Literal(unsigned char byte) {
  reference::ApplyWidthCheck(*dictionary_);
  writer_.Put(0, 1);
  writer_.Put(byte, 8);
  return Apply(byte);
}

StreamBuilder& StreamBuilder::Code(uint32_t value) {
  reference::ApplyWidthCheck(*dictionary_);
  writer_.Put(1, 1);
  writer_.Put(value, dictionary_->code_width);
  const uint32_t symbol = value + reference::kFirstPhraseCode;
  if (symbol == reference::kNoCode) {
    previous_ = reference::kNoCode;
    previous_length_ = 0;
    return *this;
  }
  return symbol < dictionary_->next_free_code ? Apply(static_cast<uint16_t>(symbol)) : *this;
}

StreamBuilder& StreamBuilder::Literals(const Bytes& bytes) {
  for (unsigned char b : bytes) Literal(b);
  return *this;
}

Bytes StreamBuilder::Block(uint32_t stated_length) {
  writer_.Finish();
  return BlockWithStream(stated_length, stream_);
}

StreamBuilder& StreamBuilder::Apply(uint16_t symbol) {
  unsigned char phrase[reference::kMaxPhraseLength];
  const uint32_t length = reference::ExpandCode(*dictionary_, symbol, phrase + sizeof phrase);
  const unsigned char* start = phrase + sizeof phrase - length;
  reference::AddCodes(*dictionary_, previous_, previous_length_, start, length);
  expected_.insert(expected_.end(), start, start + length);
  previous_ = symbol;
  previous_length_ = length;
  return *this;
}

}  // namespace testing_support
