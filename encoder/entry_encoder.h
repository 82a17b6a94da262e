// The reference encoder's entries: an entry header, then data blocks that
// carry the file record and the file's bytes, compressed where that helps
// and enciphered with the password's key string.
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
  kEmptyFile,      // an entry carries at least one byte
  kFileTooLarge,   // sizes are 32-bit
  kBlockSize,      // outside kMinBlockSize..kMaxBlockSize
  kMarkerByte,     // 0x71 could make a stored block look compressed
  kCaptionTooLong, // more than 259 bytes
};

const char* EncodeErrorText(EncodeError error);

// How many file bytes each block of an entry carries: the first block the
// rest of its block size after the marker and record (at least one byte),
// the later ones block size - 1. A last block that would hold fewer than 5
// file bytes is merged into the ones before it, so that no entry ends with a
// data block shorter than an entry header.
std::vector<size_t> PlanBlocks(size_t file_size, uint32_t block_size);

// Appends the entry to the archive. Nothing is written when an error is
// returned.
EncodeError AddEntry(ArchiveWriter& writer, const Entry& entry, const std::string& password,
                     const EntryOptions& options = {});

}  // namespace encoder
