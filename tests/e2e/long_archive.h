// Archives long enough to keep the decoder busy for seconds, written
// straight to a file. The long entry's bytes are one chunk of text
// repeated, one chunk to a data block, so that every block after the first
// is the same sealed block: hundreds of MiB cost little more than their
// writing, while the decoder still checks, deciphers, decompresses and
// writes every block.
#pragma once

#include <gtest/gtest.h>
#include <cstdint>
#include <cstdio>
#include <string>

#include "encoder/entry_encoder.h"

namespace e2e {

struct RepeatedEntry {
  encoder::Entry entry;  // header and record; contents: the chunk
  uint32_t repeats = 1;
  uint64_t size() const { return static_cast<uint64_t>(entry.contents.size()) * repeats; }
};

// An archive file: the stub and its check block first, then what is
// appended.
class ArchiveFile : public encoder::ArchiveSink {
 public:
  ArchiveFile(const std::string& path, const encoder::Bytes& stub);
  ~ArchiveFile() override;
  ArchiveFile(const ArchiveFile&) = delete;
  ArchiveFile& operator=(const ArchiveFile&) = delete;

  bool Append(const encoder::Bytes& bytes) override;
  // True when every byte went into the file.
  bool Close();

 private:
  FILE* file_;
  bool written_;
};

// The entry with its chunk `repeats` times, encoded with the password.
bool AppendRepeatedEntry(encoder::ArchiveSink& sink, const RepeatedEntry& entry, const std::string& password);
// An entry whose first data block fails its lane checksum: a decode that
// reaches it ends with "Anyone cooked this file.".
bool AppendCookedEntry(encoder::ArchiveSink& sink, const encoder::Entry& entry, const std::string& password);

// The file holds the entry's chunk, `repeats` times and nothing more; a
// failure says where it differs. Read a chunk at a time, so that the
// test's memory stays small.
::testing::AssertionResult HoldsRepeatedChunk(const std::string& path, const RepeatedEntry& entry);

}  // namespace e2e
