#include "decode/disk_output.h"

namespace decode {

bool DiskOutput::Create(const char* path) {
  file_ = platform::File::CreateWrite(path);
  return file_.IsOpen();
}

void DiskOutput::Finish(const char* path, const archive::FileRecord& record) {
  platform::FileTimes times;
  times.creation = record.creation_time;
  times.last_access = record.last_access_time;
  times.last_write = record.last_write_time;
  file_.SetTimes(times);
  file_.Close();
  platform::OsSetAttributes(path, record.attributes);
}

}  // namespace decode
