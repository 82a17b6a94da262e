#include "encoder/entry_encoder.h"

#include "archive/shared_state.h"
#include "codec/decompressor.h"

namespace encoder {
namespace {

constexpr size_t kFirstBlockOverhead = 1 + archive::kFileRecordSize;
// A data block of 20 + 6 bytes is as long as the fixed part of an entry
// header, which the check walk looks for at every block position.
constexpr size_t kMinLastFileBytes = 5;

EncodeError Validate(const Entry& entry, const std::string& password, const EntryOptions& options) {
  if (CheckPassword(password) != PasswordProblem::kNone) return EncodeError::kPassword;
  if (entry.contents.empty()) return EncodeError::kEmptyFile;
  if (entry.contents.size() > UINT32_MAX) return EncodeError::kFileTooLarge;
  if (options.block_size < kMinBlockSize || options.block_size > kMaxBlockSize) return EncodeError::kBlockSize;
  if (options.marker_byte == codec::kCompressionSignature[0]) return EncodeError::kMarkerByte;
  if (entry.header.caption.size() >= static_cast<size_t>(archive::kCaptionCapacity)) {
    return EncodeError::kCaptionTooLong;
  }
  return EncodeError::kNone;
}

}  // namespace

const char* EncodeErrorText(EncodeError error) {
  switch (error) {
    case EncodeError::kNone:
      return "no error";
    case EncodeError::kPassword:
      return "the password is not accepted";
    case EncodeError::kEmptyFile:
      return "an empty file cannot be stored";
    case EncodeError::kFileTooLarge:
      return "the file is larger than 4 GB - 1";
    case EncodeError::kBlockSize:
      return "the block size must lie between 2 and 16 MiB";
    case EncodeError::kMarkerByte:
      return "the marker byte must not be 0x71";
    case EncodeError::kCaptionTooLong:
      return "the caption is longer than 259 bytes";
  }
  return "unknown error";
}

std::vector<size_t> PlanBlocks(size_t file_size, uint32_t block_size) {
  std::vector<size_t> plan;
  if (file_size == 0) return plan;
  const size_t first = block_size > kFirstBlockOverhead ? block_size - kFirstBlockOverhead : 1;
  plan.push_back(first < file_size ? first : file_size);
  const size_t later = block_size > 1 ? block_size - 1 : 1;
  for (size_t done = plan[0]; done < file_size; done += plan.back()) {
    plan.push_back(file_size - done < later ? file_size - done : later);
  }
  while (plan.size() > 1 && plan.back() < kMinLastFileBytes) {
    plan[plan.size() - 2] += plan.back();
    plan.pop_back();
  }
  return plan;
}

EncodeError AddEntry(ArchiveWriter& writer, const Entry& entry, const std::string& password,
                     const EntryOptions& options) {
  const EncodeError error = Validate(entry, password, options);
  if (error != EncodeError::kNone) return error;
  const KeyString key(password);
  if (!key) return EncodeError::kPassword;

  archive::FileRecord record = entry.record;
  record.record_size = archive::kFileRecordSize;
  record.file_size = static_cast<uint32_t>(entry.contents.size());
  writer.AddEntryHeader(entry.header);
  const unsigned char* next = entry.contents.data();
  bool first = true;
  for (size_t count : PlanBlocks(entry.contents.size(), options.block_size)) {
    const Bytes plain = first ? FirstPlainBlock(options.marker_byte, record, next, count)
                              : LaterPlainBlock(options.marker_byte, next, count);
    writer.AddDataBlock(SealBlock(plain, options.form, key));
    next += count;
    first = false;
  }
  return EncodeError::kNone;
}

}  // namespace encoder
