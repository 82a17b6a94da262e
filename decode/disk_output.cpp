#include "decode/disk_output.h"

namespace decode {

bool DiskOutput::Create(const char* path) {
  Abandon();
  file_ = platform::OsCreateWrite(path);
  return file_.raw != nullptr;
}

void DiskOutput::Finish(const char* path, const archive::FileRecord& record) {
  platform::FileTimes times;
  times.creation = record.creation_time;
  times.last_access = record.last_access_time;
  times.last_write = record.last_write_time;
  platform::OsSetFileTimes(file_, times);
  platform::OsClose(file_);
  platform::OsSetAttributes(path, record.attributes);
}

}  // namespace decode
