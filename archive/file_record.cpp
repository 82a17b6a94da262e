#include "archive/file_record.h"

#include <cstring>

#include "archive/little_endian.h"

namespace archive {

FileRecord ParseFileRecord(const unsigned char* bytes) {
  FileRecord record;
  record.record_size = ReadLe32(bytes);
  record.file_size = ReadLe32(bytes + 4);
  record.attributes = ReadLe32(bytes + 8);
  record.creation_time = ReadLe64(bytes + 12);
  record.last_access_time = ReadLe64(bytes + 20);
  record.last_write_time = ReadLe64(bytes + 28);
  memcpy(record.output_name, bytes + 36, kOutputNameCapacity);
  record.output_name[kOutputNameCapacity - 1] = '\0';
  record.encoder_serial = ReadLe32(bytes + 296);
  record.encoding_time = ReadLe32(bytes + 300);
  return record;
}

void SerializeFileRecord(const FileRecord& record, unsigned char* bytes) {
  memset(bytes, 0, kFileRecordSize);
  WriteLe32(bytes, record.record_size);
  WriteLe32(bytes + 4, record.file_size);
  WriteLe32(bytes + 8, record.attributes);
  WriteLe64(bytes + 12, record.creation_time);
  WriteLe64(bytes + 20, record.last_access_time);
  WriteLe64(bytes + 28, record.last_write_time);
  memcpy(bytes + 36, record.output_name, kOutputNameCapacity);
  WriteLe32(bytes + 296, record.encoder_serial);
  WriteLe32(bytes + 300, record.encoding_time);
}

}  // namespace archive
