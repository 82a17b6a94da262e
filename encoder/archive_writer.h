// Writes self-decoding archives piece by piece: the stub, the check block,
// entry headers and data blocks, with every field settable, so that tests
// can make both good archives and precisely damaged ones.
#pragma once

#include <cstdint>
#include <string>

#include "archive/shared_state.h"
#include "encoder/bytes.h"

namespace encoder {

struct EntryHeaderFields {
  unsigned char fill[2] = {0, 0};
  unsigned char flags = 0;  // archive::EntryFlag bits
  int8_t suicide_mode = 2;
  uint32_t version = archive::kSupportedVersion;
  uint32_t reserved_word = 0;
  std::string caption;
};

Bytes EntryHeaderBytes(const EntryHeaderFields& fields);
Bytes DataBlockBytes(const Bytes& stored);
Bytes CheckBlockBytes(const Bytes& padded_stub);

// Where archive bytes go, each piece in turn; false when they could not
// be kept.
class ArchiveSink {
 public:
  virtual ~ArchiveSink() = default;
  virtual bool Append(const Bytes& bytes) = 0;
};

// What every archive begins with: the stub padded with zero bytes to a
// multiple of 256, followed by the check block that carries its lane
// checksum.
Bytes ArchiveStart(Bytes stub);

// An archive built in memory.
class ArchiveWriter : public ArchiveSink {
 public:
  explicit ArchiveWriter(Bytes stub);

  bool Append(const Bytes& bytes) override {
    AddRaw(bytes);
    return true;
  }

  void AddEntryHeader(const EntryHeaderFields& fields);
  void AddDataBlock(const Bytes& stored);
  void AddRaw(const Bytes& bytes);

  const Bytes& bytes() const { return bytes_; }
  size_t stub_size() const { return stub_size_; }
  bool WriteTo(const std::string& path) const;

 private:
  Bytes bytes_;
  size_t stub_size_ = 0;
};

// Reads a whole file; empty when it cannot be read.
Bytes ReadWholeFile(const std::string& path);

}  // namespace encoder
