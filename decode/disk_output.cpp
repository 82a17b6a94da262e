#include "decode/disk_output.h"

namespace decode {

bool DiskOutput::Create(const char* path) {
  file_ = platform::File::CreateWrite(path);
  return file_.IsOpen();
}

void DiskOutput::Finish(const char* path, const archive::FileRecord& record) {
  file_.SetTimes(StoredTimes(record));
  file_.Close();
  platform::OsSetAttributes(path, record.attributes);
}

}  // namespace decode
