// The reference encoder's entries: an entry header, then data blocks that
// carry the file record and the file's bytes, compressed where that helps
// and enciphered with the password's key string. An entry is encoded block
// by block from a source of its bytes into a sink of archive bytes, so that
// a file of any size needs only one block in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "archive/file_record.h"
#include "encoder/archive_writer.h"
#include "encoder/block_sealer.h"

namespace encoder {

struct EntryOptions {
  uint32_t block_size = 16384;  // plain bytes per block, marker and record included
  unsigned char marker_byte = 0x00;
  BlockForm form = BlockForm::kSmallest;
};

constexpr uint32_t kMinBlockSize = 2;
constexpr uint32_t kMaxBlockSize = 16u << 20;
// A file record holds the size in 32 bits.
constexpr uint64_t kLargestFile = UINT32_MAX;

struct Entry {
  EntryHeaderFields header;
  // Every field but the record size and the file size, which the encoder
  // fills in (304 and the size of contents).
  archive::FileRecord record;
  Bytes contents;
};

enum class EncodeError {
  kNone,
  kPassword,       // see CheckPassword
  kFileTooLarge,   // sizes are 32-bit
  kBlockSize,      // outside kMinBlockSize..kMaxBlockSize
  kMarkerByte,     // 0x71 could make a stored block look compressed
  kCaptionTooLong, // more than 259 bytes
  kContentShort,   // the source ended before the size it was given
  kOutputFailed,   // the sink refused bytes
};

std::string EncodeErrorText(EncodeError error);

// How many file bytes each block of an entry carries: the first block the
// rest of its block size after the marker and record (at least one byte,
// none for an empty file), the later ones block size - 1. A last block that
// would hold fewer than 5 file bytes is merged into the one before it, so
// that no entry ends with a data block shorter than an entry header.
// `remaining` counts the file bytes not yet planned, `first` says whether
// this is the entry's first block.
size_t NextBlockCount(uint64_t remaining, uint32_t block_size, bool first);
// The whole plan at once.
std::vector<size_t> PlanBlocks(size_t file_size, uint32_t block_size);

// Where an entry's bytes come from. Read fills out with up to count bytes
// and returns how many; fewer only at the end or on failure.
class ContentSource {
 public:
  virtual ~ContentSource() = default;
  virtual size_t Read(unsigned char* out, size_t count) = 0;
};

// Checks what can be checked before any byte is read or written: the
// password, the size, the options and the caption.
EncodeError CheckEntry(const EntryHeaderFields& header, uint64_t file_size, const std::string& password,
                       const EntryOptions& options);

// Encodes one entry of file_size bytes from content into sink: header,
// then each block as soon as it is sealed. The record's record size and
// file size are filled in here. Nothing is written when CheckEntry fails;
// kContentShort and kOutputFailed come after part of the entry was written.
EncodeError EncodeEntry(const EntryHeaderFields& header, const archive::FileRecord& record, uint64_t file_size,
                        ContentSource& content, ArchiveSink& sink, const std::string& password,
                        const EntryOptions& options = {});

// Appends the entry, held in memory, to the archive. Nothing is written
// when an error is returned.
EncodeError AddEntry(ArchiveWriter& writer, const Entry& entry, const std::string& password,
                     const EntryOptions& options = {});

}  // namespace encoder
