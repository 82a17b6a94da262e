#include "encoder/compressor.h"

#include <cassert>
#include <cstring>
#include <memory>

#include "base/little_endian.h"
#include "codec/decoder.h"
#include "encoder/bit_writer.h"

namespace encoder {
namespace {

struct Match {
  uint32_t code;
  uint32_t length;
};

// Follows the input down the dictionary's tree and keeps the longest
// phrase on the way that may be sent now. A byte is always sendable.
Match LongestSendableMatch(const codec::Dictionary& dictionary, const unsigned char* at, size_t available) {
  Match best{at[0], 1};
  uint32_t node = at[0];
  const size_t limit = available < codec::kMaxPhraseLength ? available : codec::kMaxPhraseLength;
  for (uint32_t k = 1; k < limit; ++k) {
    node = dictionary.FindChild(node, at[k]);
    if (node == codec::kNoCode) break;
    if (dictionary.IsSendable(node)) best = {node, k + 1};
  }
  return best;
}

void WriteSymbol(BitWriter& writer, const codec::Dictionary& dictionary, uint32_t code) {
  if (code < codec::kFirstPhraseCode) {
    writer.Put(0, 1);
    writer.Put(code, 8);
  } else {
    writer.Put(1, 1);
    writer.Put(code - codec::kFirstPhraseCode, dictionary.code_width());
  }
}

// One dictionary per thread, kept from block to block: Reset makes it new
// again without clearing its 2 MiB child table, which is checked on read.
codec::Dictionary& ThreadDictionary() {
  thread_local std::unique_ptr<codec::Dictionary> dictionary = std::make_unique<codec::Dictionary>();
  return *dictionary;
}

}  // namespace

std::vector<unsigned char> CompressBlock(const unsigned char* plain, size_t length) {
  assert(length <= UINT32_MAX);
  std::vector<unsigned char> out(codec::kCompressionSignature, codec::kCompressionSignature + 4);
  out.resize(8);
  base::WriteLe32(out.data() + 4, static_cast<uint32_t>(length));

  codec::Dictionary* dictionary = &ThreadDictionary();
  dictionary->Reset();
  BitWriter writer(out);
  unsigned char phrase[codec::kMaxPhraseLength];
  uint32_t previous_code = codec::kNoCode;
  uint32_t previous_length = 0;
  for (size_t position = 0; position < length;) {
    dictionary->ApplyWidthCheck();
    const Match match = LongestSendableMatch(*dictionary, plain + position, length - position);
    WriteSymbol(writer, *dictionary, match.code);
    // The same expansion the decoder makes, for its moves in the use order.
    dictionary->ExpandCode(match.code, phrase);
    assert(memcmp(phrase, plain + position, match.length) == 0);
    dictionary->AddCodes(previous_code, previous_length, phrase, match.length);
    previous_code = match.code;
    previous_length = match.length;
    position += match.length;
  }
  writer.Finish();
  return out;
}

}  // namespace encoder
