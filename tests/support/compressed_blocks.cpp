#include "tests/support/compressed_blocks.h"

#include <algorithm>

#include "base/little_endian.h"
#include "codec/decompressor.h"

namespace testing_support {

DecompressResult Decompress(const Bytes& block) {
  archive::BlockBuffer buffer;
  archive::AllocateBlockBuffer(buffer, static_cast<uint32_t>(block.size()));
  std::copy(block.begin(), block.end(), buffer.data);
  const void* given = buffer.handle.raw;
  DecompressResult out;
  out.result = codec::DecompressBlock(buffer);
  out.bytes.assign(buffer.data, buffer.data + buffer.length);
  // The buffer given is still ours when it came back untouched, whatever
  // its length; a new one holds memory only when its length is not 0.
  if (buffer.handle.raw == given || buffer.length != 0) archive::ReleaseBlockBuffer(buffer);
  return out;
}

StreamBuilder& StreamBuilder::Literals(const Bytes& bytes) {
  for (unsigned char b : bytes) Literal(b);
  return *this;
}

StreamBuilder& StreamBuilder::Literal(unsigned char byte) {
  dictionary_.ApplyWidthCheck();
  writer_.Put(byte, 9);  // a 0-bit, then the byte
  dictionary_.Decode(byte, expected_);
  return *this;
}

StreamBuilder& StreamBuilder::Code(uint32_t value) {
  dictionary_.ApplyWidthCheck();
  writer_.Put(1, 1);
  writer_.Put(value, dictionary_.code_width());
  dictionary_.Decode(value + reference::kFirstPhraseCode, expected_);
  return *this;
}

Bytes StreamBuilder::Block(uint32_t stated_length) {
  writer_.Finish();
  Bytes block(8 + stream_.size());
  std::copy(codec::kCompressionSignature, codec::kCompressionSignature + 4, block.begin());
  base::WriteLe32(block.data() + 4, stated_length);
  std::copy(stream_.begin(), stream_.end(), block.begin() + 8);
  return block;
}

}  // namespace testing_support
