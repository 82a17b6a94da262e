#include "codec/decompressor.h"

#include <cstring>

#include "base/little_endian.h"
#include "codec/bit_reader.h"
#include "codec/decompressor_testing.h"
#include "codec/dictionary.h"

namespace codec {
namespace {

constexpr uint32_t kStreamOffset = 8;
constexpr uint32_t kStagingSize = 256;
// The largest output kept: the Block buffer adds its slack to every size
// it is asked for, which must stay inside 32 bits.
constexpr uint32_t kMaxDecodedLength = UINT32_MAX - archive::kBlockBufferSlack;

// One decoder for the process, in static storage: the tables need no
// allocation and take no room in the program file.
struct DecoderState {
  Dictionary dictionary;
  archive::BlockBuffer output;
  unsigned char staging[kStagingSize];
  uint16_t staging_fill;
  uint32_t output_count;
  bool busy_flag;
};
DecoderState state;

bool HasSignature(const archive::BlockBuffer& block) {
  return block.length >= 4 && memcmp(block.data, kCompressionSignature, 4) == 0;
}

// The output memory asked for up front: the stated length, unless the
// block cannot hold that much. Each symbol takes at least two bits and
// yields at most 128 bytes; past the block's end the stream's 1-bits form
// a valid code only while the code width grows, a dozen times at most.
uint32_t InitialOutputSize(uint32_t stated_length, uint32_t block_length) {
  const uint64_t stream_bits = uint64_t{block_length - kStreamOffset} * 8;
  const uint64_t most = (stream_bits / 2 + 16) * kMaxPhraseLength;
  uint64_t size = stated_length < most ? stated_length : most;
  return size < kMaxDecodedLength ? static_cast<uint32_t>(size) : kMaxDecodedLength;
}

// Moves the 256 staged bytes to the end of the output, which grows only
// when the stated length was too small.
void FlushStaging() {
  archive::ResizeBlockBuffer(state.output, state.output_count);
  memcpy(state.output.data + state.output_count - kStagingSize, state.staging, kStagingSize);
  state.staging_fill = 0;
}

void Emit(const unsigned char* bytes, uint32_t count) {
  while (count > 0) {
    if (state.staging_fill == kStagingSize) FlushStaging();
    const uint32_t room = kStagingSize - state.staging_fill;
    const uint32_t piece = count < room ? count : room;
    memcpy(state.staging + state.staging_fill, bytes, piece);
    state.staging_fill = static_cast<uint16_t>(state.staging_fill + piece);
    state.output_count += piece;
    bytes += piece;
    count -= piece;
  }
}

// Decodes until the output count reaches the stated length. A damaged
// stream ends decoding early, with what was decoded so far: a code that
// does not exist yet (also as the first symbol), a value beyond the
// tables, or an output that would leave 32 bits.
void DecodeStream(const archive::BlockBuffer& block, uint32_t stated_length) {
  BitReader reader(block.data, block.length, kStreamOffset);
  unsigned char phrase[kMaxPhraseLength];
  unsigned char* const phrase_end = phrase + kMaxPhraseLength;
  uint16_t previous_code = kNoCode;
  uint32_t previous_length = 0;
  while (state.output_count < stated_length) {
    ApplyWidthCheck(state.dictionary);
    reader.Refill();
    uint32_t symbol = reader.Take(1) == 0 ? reader.Take(8) : reader.Take(state.dictionary.code_width) + kFirstPhraseCode;
    if (symbol >= state.dictionary.next_free_code && symbol != kNoCode) return;
    const uint32_t length = symbol == kNoCode ? 0 : ExpandCode(state.dictionary, static_cast<uint16_t>(symbol), phrase_end);
    if (length > kMaxDecodedLength - state.output_count) return;
    Emit(phrase_end - length, length);
    AddCodes(state.dictionary, previous_code, previous_length, phrase_end - length, length);
    previous_code = static_cast<uint16_t>(symbol);
    previous_length = length;
  }
}

}  // namespace

int DecompressBlock(archive::BlockBuffer& block) {
  if (state.busy_flag) return 0;
  state.busy_flag = true;
  if (!HasSignature(block)) {
    state.busy_flag = false;
    return 1;
  }
  ResetDictionary(state.dictionary);
  // A block too short to state its length is damaged; it decodes to nothing.
  const uint32_t stated_length = block.length >= kStreamOffset ? base::ReadLe32(block.data + 4) : 0;
  archive::AllocateBlockBuffer(state.output, stated_length == 0 ? 0 : InitialOutputSize(stated_length, block.length));
  state.output_count = 0;
  state.staging_fill = 0;
  if (stated_length != 0) DecodeStream(block, stated_length);

  archive::ResizeBlockBuffer(state.output, state.output_count);
  memcpy(state.output.data + state.output_count - state.staging_fill, state.staging, state.staging_fill);
  // An empty result holds no memory, as a length of 0 tells every holder.
  if (state.output_count == 0) archive::ReleaseBlockBuffer(state.output);
  archive::ReleaseBlockBuffer(block);
  block = state.output;
  state.busy_flag = false;
  return 1;
}

namespace testing_hooks {

void SetDecompressorBusy(bool busy) { state.busy_flag = busy; }

}  // namespace testing_hooks

}  // namespace codec
