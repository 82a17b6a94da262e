#include "cli/name_scan.h"

#include <cstring>

#include "base/bounded_text.h"
#include "base/little_endian.h"
#include "codec/block_cipher.h"
#include "codec/decoder.h"
#include "codec/decompressor.h"
#include "decode/block_source.h"
#include "cli/writes_nothing.h"
#include "decode/decode_walk.h"

namespace cli {
namespace {

// Blocks for the walk at a fraction of the cost: the walk reads the bytes
// of an entry's first block only; of the others it uses just the length,
// which a compressed block states at offset 4 (the bytes behind the
// deciphered ones stay as they are: the collector below ignores them).
class SkimmingSource final : public decode::BlockSource {
 public:
  bool Open(const char* path, uint64_t offset, const char* key) override {
    key_ = key;
    return file_.Open(path) && file_.Seek(offset);
  }
  void Close() override { file_.Close(); }
  decode::Boundary FindEntry(archive::EntryHeader& header, decode::Skipped* skipped) override {
    first_block_ = true;
    return decode::FindEntryHeader(file_, header, skipped);
  }
  decode::BlockStatus ReadBlock(archive::BlockBuffer& block) override {
    const decode::BlockStatus status = decode::ReadCheckedBlock(file_, block);
    if (status != decode::BlockStatus::kOk) return status;
    codec::DecipherBlock(block.data(), block.length(), key_);
    if (first_block_) {
      codec::DecompressBlock(block);
    } else if (block.length() >= 8 && memcmp(block.data(), codec::kCompressionSignature, 4) == 0) {
      // Readers take the length for the memory held: it must be there.
      const uint32_t stated = base::ReadLe32(block.data() + 4);
      const uint32_t most = codec::MostDecodedLength(block.length());
      block.Resize(stated < most ? stated : most);
    }
    first_block_ = false;
    return status;
  }

 private:
  platform::InputFile file_;
  const char* key_ = nullptr;
  bool first_block_ = false;
};

class NameCollector final : public WritesNothing<decode::DecodeSink> {
 public:
  explicit NameCollector(NameScan& scan) : scan_(scan) {}
  void OnOutputName(const archive::FileRecord& record) override { scan_.names.push_back(record.output_name); }
  // Any safe name will do: nothing is written, and an unsafe one would end
  // the scan before the names behind it.
  bool SpellName(const char* stored, char* local, int capacity) override {
    base::CopyText(local, static_cast<size_t>(capacity), stored[0] == '\\' ? "\\entry" : "entry");
    return true;
  }
  void OnFailure(decode::DecodeFailure failure, const archive::SharedState&) override {
    if (failure == decode::DecodeFailure::kWrongPassword && scan_.names.empty()) scan_.password_right = false;
  }

 private:
  NameScan& scan_;
};

}  // namespace

NameScan ScanStoredNames(const archive::SharedState& state, const std::string& password) {
  NameScan scan;
  archive::SharedState copy = state;  // the header fields the scan reads are not the run's
  NameCollector collector(scan);
  SkimmingSource source;
  decode::DecodeWalk(copy, password.data(), static_cast<uint32_t>(password.size()), collector, source);
  return scan;
}

}  // namespace cli
