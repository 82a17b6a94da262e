#include "long_archive.h"

#include <algorithm>
#include <vector>

#include "encoder/block_sealer.h"
#include "encoder/key_string.h"

namespace e2e {
namespace {

constexpr unsigned char kMarker = 0x00;
// A data block starts with its 16-byte lane checksum and 4-byte length.
constexpr size_t kFirstStoredByte = 20;

// The entry's first data block, its record filled in as the encoder does.
encoder::Bytes FirstBlock(const encoder::Entry& entry, uint64_t file_size, const encoder::KeyString& key) {
  archive::FileRecord record = entry.record;
  record.record_size = archive::kFileRecordSize;
  record.file_size = static_cast<uint32_t>(file_size);
  const encoder::Bytes plain =
      encoder::FirstPlainBlock(kMarker, record, entry.contents.data(), entry.contents.size());
  return encoder::DataBlockBytes(encoder::SealBlock(plain, encoder::BlockForm::kSmallest, key));
}

}  // namespace

ArchiveFile::ArchiveFile(const std::string& path, const encoder::Bytes& stub)
    : file_(fopen(path.c_str(), "wb")), written_(file_ != nullptr) {
  Append(encoder::ArchiveStart(stub));
}

ArchiveFile::~ArchiveFile() { Close(); }

bool ArchiveFile::Append(const encoder::Bytes& bytes) {
  written_ = written_ && fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
  return written_;
}

bool ArchiveFile::Close() {
  if (file_) {
    written_ = fclose(file_) == 0 && written_;
    file_ = nullptr;
  }
  return written_;
}

bool AppendRepeatedEntry(encoder::ArchiveSink& sink, const RepeatedEntry& repeated, const std::string& password) {
  const encoder::KeyString key(password);
  const encoder::Entry& entry = repeated.entry;
  if (!key || repeated.repeats == 0 || repeated.size() > UINT32_MAX) return false;
  if (!sink.Append(encoder::EntryHeaderBytes(entry.header))) return false;
  if (!sink.Append(FirstBlock(entry, repeated.size(), key))) return false;
  const encoder::Bytes later = encoder::DataBlockBytes(encoder::SealBlock(
      encoder::LaterPlainBlock(kMarker, entry.contents.data(), entry.contents.size()),
      encoder::BlockForm::kSmallest, key));
  for (uint32_t i = 1; i < repeated.repeats; ++i) {
    if (!sink.Append(later)) return false;
  }
  return true;
}

bool AppendCookedEntry(encoder::ArchiveSink& sink, const encoder::Entry& entry, const std::string& password) {
  const encoder::KeyString key(password);
  encoder::Bytes block = FirstBlock(entry, entry.contents.size(), key);
  block[kFirstStoredByte] ^= 0x01;  // the first row of 16 bytes always takes part in the checksum
  return sink.Append(encoder::EntryHeaderBytes(entry.header)) && sink.Append(block);
}

::testing::AssertionResult HoldsRepeatedChunk(const std::string& path, const RepeatedEntry& repeated) {
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return ::testing::AssertionFailure() << "cannot read " << path;
  const encoder::Bytes& chunk = repeated.entry.contents;
  std::vector<unsigned char> read(chunk.size());
  uint32_t same = 0;
  while (same < repeated.repeats && fread(read.data(), 1, read.size(), file) == read.size() &&
         std::equal(chunk.begin(), chunk.end(), read.begin())) {
    ++same;
  }
  const bool ends_there = fgetc(file) == EOF;
  fclose(file);
  if (same == repeated.repeats && ends_there) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << path << " holds " << same << " of " << repeated.repeats << " chunks of "
                                       << chunk.size() << " bytes" << (ends_there ? "" : ", then more");
}

}  // namespace e2e
