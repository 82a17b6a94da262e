#include "encoder/entry_encoder.h"

#include <algorithm>

#include "archive/shared_state.h"
#include "codec/decompressor.h"

namespace encoder {
namespace {

constexpr size_t kFirstBlockOverhead = 1 + archive::kFileRecordSize;
// A data block of 20 + 6 bytes is as long as the fixed part of an entry
// header, which the check walk looks for at every block position.
constexpr size_t kMinLastFileBytes = 5;

}  // namespace

std::string EncodeErrorText(EncodeError error) {
  switch (error) {
    case EncodeError::kNone:
      return "no error";
    case EncodeError::kPassword:
      return "the password is not accepted";
    case EncodeError::kFileTooLarge:
      return "the file is larger than " + std::to_string(kLargestFile) + " bytes (4 GiB - 1)";
    case EncodeError::kBlockSize:
      return "the block size must lie between " + std::to_string(kMinBlockSize) + " and " + std::to_string(kMaxBlockSize) +
             " bytes";
    case EncodeError::kMarkerByte:
      return "the marker byte must not be 0x71";
    case EncodeError::kCaptionTooLong:
      return "the caption is longer than " + std::to_string(archive::kCaptionCapacity - 1) + " bytes";
    case EncodeError::kContentShort:
      return "it ended early or could not be read (did it change while it was read?)";
    case EncodeError::kOutputFailed:
      return "the archive could not be written";
  }
  return "unknown error";
}

EncodeError CheckEntry(const EntryHeaderFields& header, uint64_t file_size, const std::string& password,
                       const EntryOptions& options) {
  if (CheckPassword(password) != PasswordProblem::kNone) return EncodeError::kPassword;
  if (file_size > kLargestFile) return EncodeError::kFileTooLarge;
  if (options.block_size < kMinBlockSize || options.block_size > kMaxBlockSize) return EncodeError::kBlockSize;
  if (options.marker_byte == codec::kCompressionSignature[0]) return EncodeError::kMarkerByte;
  if (header.caption.size() >= static_cast<size_t>(archive::kCaptionCapacity)) return EncodeError::kCaptionTooLong;
  return EncodeError::kNone;
}

size_t NextBlockCount(uint64_t remaining, uint32_t block_size, bool first) {
  size_t capacity = block_size > 1 ? block_size - 1 : 1;
  if (first) capacity = block_size > kFirstBlockOverhead ? block_size - kFirstBlockOverhead : 1;
  if (remaining <= capacity) return static_cast<size_t>(remaining);
  // The tail that would be left too short for a block of its own comes along.
  return remaining - capacity < kMinLastFileBytes ? static_cast<size_t>(remaining) : capacity;
}

std::vector<size_t> PlanBlocks(size_t file_size, uint32_t block_size) {
  std::vector<size_t> plan;
  size_t done = 0;
  do {
    plan.push_back(NextBlockCount(file_size - done, block_size, plan.empty()));
    done += plan.back();
  } while (done < file_size);
  return plan;
}

EncodeError EncodeEntry(const EntryHeaderFields& header, const archive::FileRecord& entry_record, uint64_t file_size,
                        ContentSource& content, ArchiveSink& sink, const std::string& password,
                        const EntryOptions& options) {
  const EncodeError error = CheckEntry(header, file_size, password, options);
  if (error != EncodeError::kNone) return error;
  const KeyString key(password);
  if (!key) return EncodeError::kPassword;

  archive::FileRecord record = entry_record;
  record.record_size = archive::kFileRecordSize;
  record.file_size = static_cast<uint32_t>(file_size);
  if (!sink.Append(EntryHeaderBytes(header))) return EncodeError::kOutputFailed;
  Bytes file_bytes;
  uint64_t done = 0;
  bool first = true;
  do {
    const size_t count = NextBlockCount(file_size - done, options.block_size, first);
    file_bytes.resize(count);
    if (content.Read(file_bytes.data(), count) != count) return EncodeError::kContentShort;
    const Bytes plain = first ? FirstPlainBlock(options.marker_byte, record, file_bytes.data(), count)
                              : LaterPlainBlock(options.marker_byte, file_bytes.data(), count);
    if (!sink.Append(DataBlockBytes(SealBlock(plain, options.form, key)))) return EncodeError::kOutputFailed;
    done += count;
    first = false;
  } while (done < file_size);
  return EncodeError::kNone;
}

namespace {

class MemoryContent : public ContentSource {
 public:
  explicit MemoryContent(const Bytes& bytes) : bytes_(bytes) {}
  size_t Read(unsigned char* out, size_t count) override {
    const size_t n = std::min(count, bytes_.size() - position_);
    std::copy_n(bytes_.data() + position_, n, out);
    position_ += n;
    return n;
  }

 private:
  const Bytes& bytes_;
  size_t position_ = 0;
};

}  // namespace

EncodeError AddEntry(ArchiveWriter& writer, const Entry& entry, const std::string& password,
                     const EntryOptions& options) {
  MemoryContent content(entry.contents);
  return EncodeEntry(entry.header, entry.record, entry.contents.size(), content, writer, password, options);
}

}  // namespace encoder
