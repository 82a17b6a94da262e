#include "archive/file_record.h"

#include <cstring>

#include "base/little_endian.h"

namespace archive {

FileRecord ParseFileRecord(const unsigned char* bytes) {
  FileRecord record;
  record.record_size = base::ReadLe32(bytes);
  record.file_size = base::ReadLe32(bytes + 4);
  record.attributes = base::ReadLe32(bytes + 8);
  record.creation_time = base::ReadLe64(bytes + 12);
  record.last_access_time = base::ReadLe64(bytes + 20);
  record.last_write_time = base::ReadLe64(bytes + 28);
  memcpy(record.output_name, bytes + 36, kOutputNameCapacity);
  record.output_name[kOutputNameCapacity - 1] = '\0';
  record.encoder_serial = base::ReadLe32(bytes + 296);
  record.encoding_time = base::ReadLe32(bytes + 300);
  return record;
}

void SerializeFileRecord(const FileRecord& record, unsigned char* bytes) {
  memset(bytes, 0, kFileRecordSize);
  base::WriteLe32(bytes, record.record_size);
  base::WriteLe32(bytes + 4, record.file_size);
  base::WriteLe32(bytes + 8, record.attributes);
  base::WriteLe64(bytes + 12, record.creation_time);
  base::WriteLe64(bytes + 20, record.last_access_time);
  base::WriteLe64(bytes + 28, record.last_write_time);
  memcpy(bytes + 36, record.output_name, kOutputNameCapacity);
  base::WriteLe32(bytes + 296, record.encoder_serial);
  base::WriteLe32(bytes + 300, record.encoding_time);
}

}  // namespace archive
