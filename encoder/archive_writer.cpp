#include "encoder/archive_writer.h"

#include <algorithm>
#include <cstdio>

#include "archive/check_block.h"
#include "archive/lane_checksum.h"
#include "archive/markers.h"
#include "base/little_endian.h"

namespace encoder {
namespace {

void Append(Bytes& out, const unsigned char* data, size_t n) { out.insert(out.end(), data, data + n); }

void AppendLe32(Bytes& out, uint32_t v) {
  unsigned char b[4];
  base::WriteLe32(b, v);
  Append(out, b, 4);
}

}  // namespace

Bytes EntryHeaderBytes(const EntryHeaderFields& fields) {
  Bytes out(archive::kEntryMarkerLength + 1);
  archive::BuildEntryMarker(reinterpret_cast<char*>(out.data()));
  Append(out, fields.fill, 2);
  out.push_back(fields.flags);
  out.push_back(static_cast<unsigned char>(fields.suicide_mode));
  AppendLe32(out, fields.version);
  AppendLe32(out, fields.reserved_word);
  Append(out, reinterpret_cast<const unsigned char*>(fields.caption.c_str()), fields.caption.size() + 1);
  return out;
}

Bytes DataBlockBytes(const Bytes& stored) {
  const archive::LaneChecksum sum = archive::ComputeLaneChecksum(stored.data(), stored.size());
  Bytes out(sum.begin(), sum.end());
  AppendLe32(out, static_cast<uint32_t>(stored.size()));
  out.insert(out.end(), stored.begin(), stored.end());
  return out;
}

Bytes CheckBlockBytes(const Bytes& padded_stub) {
  Bytes block(archive::kCheckBlockSize, 0);
  archive::BuildCheckMarker(reinterpret_cast<char*>(block.data()));
  archive::LaneChecksum sum = archive::ComputeLaneChecksum(padded_stub.data(), padded_stub.size());
  std::copy(sum.begin(), sum.end(), block.begin() + archive::kStoredChecksumOffset);
  return block;
}

Bytes ArchiveStart(Bytes stub) {
  stub.resize((stub.size() + 255) / 256 * 256, 0);
  const Bytes check = CheckBlockBytes(stub);
  stub.insert(stub.end(), check.begin(), check.end());
  return stub;
}

ArchiveWriter::ArchiveWriter(Bytes stub)
    : bytes_(ArchiveStart(std::move(stub))), stub_size_(bytes_.size() - archive::kCheckBlockSize) {}

void ArchiveWriter::AddEntryHeader(const EntryHeaderFields& fields) { AddRaw(EntryHeaderBytes(fields)); }

void ArchiveWriter::AddDataBlock(const Bytes& stored) { AddRaw(DataBlockBytes(stored)); }

void ArchiveWriter::AddRaw(const Bytes& bytes) { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }

bool ArchiveWriter::WriteTo(const std::string& path) const {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = fwrite(bytes_.data(), 1, bytes_.size(), f) == bytes_.size();
  return fclose(f) == 0 && ok;
}

Bytes ReadWholeFile(const std::string& path) {
  Bytes out;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return out;
  unsigned char chunk[65536];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) out.insert(out.end(), chunk, chunk + n);
  fclose(f);
  return out;
}

}  // namespace encoder
