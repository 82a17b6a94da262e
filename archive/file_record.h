// The file record at offset 1 of an entry's first plain block.
//
//   0   4  record size (304)      12  8  creation time (FILETIME)
//   4   4  file size              20  8  last access time
//   8   4  file attributes        28  8  last write time
//  36 260  output name, NUL-terminated
// 296   4  encoder serial        300  4  encoding time (seconds since 1970)
#pragma once

#include <cstdint>

namespace archive {

constexpr uint32_t kFileRecordSize = 304;
constexpr int kOutputNameCapacity = 260;

struct FileRecord {
  uint32_t record_size = 0;
  uint32_t file_size = 0;
  uint32_t attributes = 0;
  uint64_t creation_time = 0;
  uint64_t last_access_time = 0;
  uint64_t last_write_time = 0;
  char output_name[kOutputNameCapacity] = {};  // always NUL-terminated here
  uint32_t encoder_serial = 0;
  uint32_t encoding_time = 0;
};

FileRecord ParseFileRecord(const unsigned char* bytes);  // kFileRecordSize bytes
void SerializeFileRecord(const FileRecord& record, unsigned char* bytes);

}  // namespace archive
