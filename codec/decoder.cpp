#include "codec/decoder.h"

#include <cstring>
#include <utility>

#include "base/little_endian.h"
#include "codec/bit_reader.h"

namespace codec {
namespace {

constexpr uint32_t kStreamOffset = 8;
// The largest output kept: the Block buffer adds its slack to every size
// it is asked for, which must stay inside 32 bits.
constexpr uint32_t kMaxDecodedLength = UINT32_MAX - archive::kBlockBufferSlack;

bool HasSignature(const archive::BlockBuffer& block) {
  return block.length() >= 4 && memcmp(block.data(), kCompressionSignature, 4) == 0;
}

}  // namespace

uint32_t MostDecodedLength(uint32_t block_length) {
  const uint64_t stream_bits = uint64_t{block_length - kStreamOffset} * 8;
  const uint64_t most = (stream_bits / 2 + 16) * kMaxPhraseLength;
  return most < kMaxDecodedLength ? static_cast<uint32_t>(most) : kMaxDecodedLength;
}

namespace {

// The output memory asked for up front: the stated length, unless the
// block cannot hold that much.
uint32_t InitialOutputSize(uint32_t stated_length, uint32_t block_length) {
  const uint32_t most = MostDecodedLength(block_length);
  return stated_length < most ? stated_length : most;
}

}  // namespace

StreamCheck Decoder::Decompress(archive::BlockBuffer& block) {
  if (!HasSignature(block)) return StreamCheck::kStored;
  // A block too short to state its length is damaged; it decodes to nothing.
  const bool states_length = block.length() >= kStreamOffset;
  const uint32_t stated_length = states_length ? base::ReadLe32(block.data() + 4) : 0;
  archive::BlockBuffer output;
  output.Allocate(stated_length == 0 ? 0 : InitialOutputSize(stated_length, block.length()));
  Decoded decoded{0, false};
  if (stated_length != 0) decoded = DecodeStream(block.data(), block.length(), stated_length, output);
  output.Resize(decoded.count);
  block = std::move(output);
  const bool whole = states_length && !decoded.broken && decoded.count == stated_length;
  return whole ? StreamCheck::kWhole : StreamCheck::kBroken;
}

StreamCheck Decoder::DecodeStart(const unsigned char* data, uint32_t readable, uint32_t wanted,
                                 archive::BlockBuffer& output, uint32_t* stated) {
  *stated = 0;
  if (readable < kStreamOffset || memcmp(data, kCompressionSignature, 4) != 0) return StreamCheck::kBroken;
  *stated = base::ReadLe32(data + 4);
  const uint32_t goal = *stated < wanted ? *stated : wanted;
  output.Allocate(goal);
  const Decoded decoded = goal == 0 ? Decoded{0, false} : DecodeStream(data, readable, goal, output);
  output.Resize(decoded.count);
  return decoded.broken ? StreamCheck::kBroken : StreamCheck::kWhole;
}

// Decodes into `output` until `goal` bytes are reached and returns the
// count decoded; the last phrase may run past the goal, and the output
// grows only then. A damaged stream ends decoding early, with what was
// decoded so far: a code that does not exist yet (also as the first
// symbol), a value beyond the tables, or an output that would leave 32
// bits. Broken: it ended so, or read past its bytes.
Decoder::Decoded Decoder::DecodeStream(const unsigned char* data, uint32_t readable, uint32_t goal_length,
                                       archive::BlockBuffer& output) {
  constexpr uint32_t kTop = BitReader::kWordBits;
  Dictionary& dictionary = dictionary_;
  dictionary.Reset();
  BitReader reader(data, readable, kStreamOffset);
  const uint32_t goal = goal_length < kMaxDecodedLength ? goal_length : kMaxDecodedLength;
  bool broken = false;
  uint32_t count = 0;
  uint32_t previous = kNoCode;
  uint32_t previous_length = 0;
  while (count < goal) {
    dictionary.ApplyWidthCheck();
    const BitReader::Word bits = reader.Peek();
    if (bits >> (kTop - 1) == 0) {  // a literal
      reader.Skip(9);
      // Below the goal, one more byte stays within 32 bits.
      if (count == output.length()) output.Resize(count + 1);
      unsigned char* const phrase = output.data() + count;
      *phrase = static_cast<unsigned char>(bits >> (kTop - 9));
      dictionary.AddCodes(previous, previous_length, phrase, 1);
      previous = *phrase;
      previous_length = 1;
      ++count;
      continue;
    }
    const uint32_t width = dictionary.code_width();
    const uint32_t code = static_cast<uint32_t>(bits << 1 >> (kTop - width)) + kFirstPhraseCode;
    reader.Skip(1 + width);
    if (code >= dictionary.next_free_code()) {
      if (code != kNoCode) {
        broken = true;
        break;
      }
      // The empty phrase: nothing to write, nothing to extend next.
      previous = kNoCode;
      previous_length = 0;
      continue;
    }
    const uint32_t length = dictionary.PhraseLength(code);
    if (length > output.length() - count) {  // the output never exceeds kMaxDecodedLength
      if (length > kMaxDecodedLength - count) {
        broken = true;
        break;
      }
      output.Resize(count + length);
    }
    unsigned char* const phrase = output.data() + count;
    dictionary.ExpandCode(code, phrase);
    dictionary.AddCodes(previous, previous_length, phrase, length);
    previous = code;
    previous_length = length;
    count += length;
  }
  return {count, broken || reader.Overran()};
}

}  // namespace codec
