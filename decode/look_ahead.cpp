#include "decode/look_ahead.h"

#include <cstring>

#include "base/bounded_text.h"
#include "base/little_endian.h"
#include "codec/block_cipher.h"
#include "codec/decoder.h"
#include "codec/decompressor.h"
#include "decode/block_source.h"
#include "decode/decode_walk.h"
#include "decode/writes_nothing.h"

namespace decode {
namespace {

// An entry's first block must hold the marker byte, the record and a byte.
constexpr uint32_t kRecordEnd = 1 + archive::kFileRecordSize + 1;
constexpr uint32_t kLengthBytes = 8;  // the signature and the stated length

// Blocks for the walk at a fraction of the cost. The walk reads the bytes
// of an entry's first block only as far as its record; of the others it
// uses just the length. So a first block is decoded as far as the record,
// and any other is sized by the length its compressed form states (the
// bytes behind what was decoded stay as they were: the walk ignores them).
class SkimmingSource final : public BlockSource {
 public:
  bool Open(const char* path, uint64_t offset, const char* key) override {
    key_ = key;
    return file_.Open(path) && file_.Seek(offset);
  }
  void Close() override { file_.Close(); }
  Boundary FindEntry(archive::EntryHeader& header, Skipped* skipped) override {
    first_block_ = true;
    return FindEntryHeader(file_, header, skipped);
  }
  BlockStatus ReadBlock(archive::BlockBuffer& block) override {
    const BlockStatus status = ReadCheckedBlock(file_, block);
    if (status != BlockStatus::kOk) return status;
    const bool first = first_block_;
    first_block_ = false;
    const uint32_t stored_length = block.length();
    const uint32_t readable = stored_length < sizeof start_ ? stored_length : sizeof start_;
    codec::DecipherPrefix(block.data(), stored_length, key_, start_, first ? readable : kLengthBytes);
    const bool compressed = readable >= 4 && memcmp(start_, codec::kCompressionSignature, 4) == 0;
    if (!compressed) {
      if (first) memcpy(block.data(), start_, readable);
      return status;
    }
    return first ? DecodeRecord(block, readable) : SizeByStatedLength(block, readable);
  }

 private:
  BlockStatus DecodeRecord(archive::BlockBuffer& block, uint32_t readable) {
    uint32_t stated = 0;
    const uint32_t stored_length = block.length();
    if (codec::DecodeBlockStart(start_, readable, kRecordEnd, record_, &stated) == codec::StreamCheck::kBroken) {
      return BlockStatus::kBrokenStream;
    }
    block.Resize(Decodable(stated, stored_length));
    memcpy(block.data(), record_.data(), record_.length() < block.length() ? record_.length() : block.length());
    return BlockStatus::kOk;
  }

  BlockStatus SizeByStatedLength(archive::BlockBuffer& block, uint32_t readable) {
    const uint32_t stated = readable >= kLengthBytes ? base::ReadLe32(start_ + 4) : 0;
    block.Resize(Decodable(stated, block.length()));
    return BlockStatus::kOk;
  }

  // Readers take the length for the memory held: it must be there.
  static uint32_t Decodable(uint32_t stated, uint32_t stored_length) {
    const uint32_t most = stored_length >= kLengthBytes ? codec::MostDecodedLength(stored_length) : 0;
    return stated < most ? stated : most;
  }

  platform::InputFile file_;
  const char* key_ = nullptr;
  bool first_block_ = false;
  unsigned char start_[codec::StreamBytesFor(kRecordEnd)];  // a block's deciphered start
  archive::BlockBuffer record_;                               // a first block decoded as far as its record
};

class Collector final : public WritesNothing<DecodeSink> {
 public:
  Collector(LookAhead& look, const archive::SharedState& state) : look_(look), state_(state) {}
  WalkRules Rules() const override { return WalkRules::kReader; }
  void OnOutputName(const archive::FileRecord& record) override {
    ++look_.entries;
    look_.names.push_back(record.output_name);
    look_.captions.push_back(state_.caption);
    for (const char* p = record.output_name; *p; ++p) garbled_name_ = garbled_name_ || IsControl(*p);
  }
  void OnSkipped(uint64_t, uint64_t) override { EntriesBreakOff(); }
  // Names are judged by the run, once their code page is known: here any
  // safe name will do, so that every entry's record is seen.
  NameProblem SpellName(const char* stored, char* local, int capacity) override {
    base::CopyText(local, static_cast<size_t>(capacity), stored[0] == '\\' ? "\\entry" : "entry");
    return NameProblem::kNone;
  }
  void OnFailure(DecodeFailure failure, const archive::SharedState&) override {
    if (failure == DecodeFailure::kWrongPassword || failure == DecodeFailure::kBlockTooShort ||
        failure == DecodeFailure::kBrokenStream) {
      look_.password_right = false;
    }
    if (failure == DecodeFailure::kReadFailed) EntriesBreakOff();
  }

 private:
  static bool IsControl(char c) { return (c >= 0x01 && c <= 0x1F) || c == 0x7F; }
  // Where the entries stop following one another after a record was read,
  // its sizes may be garbage.
  void EntriesBreakOff() {
    if (garbled_name_) look_.password_right = false;
  }

  LookAhead& look_;
  const archive::SharedState& state_;
  bool garbled_name_ = false;  // a name seen so far holds a control character
};

}  // namespace

LookAhead LookOver(const archive::SharedState& state, const std::string& password) {
  LookAhead look;
  archive::SharedState copy = state;  // the header fields the look reads are not the run's
  Collector collector(look, copy);
  SkimmingSource source;
  DecodeWalk(copy, password.data(), static_cast<uint32_t>(password.size()), collector, source);
  return look;
}

}  // namespace decode
