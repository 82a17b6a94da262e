#include "cli/staged_file.h"

#include "cli/messages.h"
#include "cli/path_names.h"
#include "decode/disk_output.h"
#include "platform/console.h"
#include "platform/os.h"

namespace cli {

bool StagedFile::Create(const std::string& path, std::string* reason) {
  Abandon();
  const std::string stem = FolderOf(path) + ".kelvarin-" + std::to_string(platform::ProcessId()) + "-";
  // Names left by an earlier process of the same number are passed over.
  for (int n = 1; n <= 100; ++n) {
    const std::string temp = stem + std::to_string(n) + ".tmp";
    // Known to the interrupt handler before it exists: a Ctrl-C right
    // after its creation removes it too.
    platform::DeleteOnInterrupt(temp.c_str());
    file_ = platform::File::CreateNew(temp.c_str());
    if (file_.IsOpen()) {
      path_ = path;
      temp_path_ = temp;
      return true;
    }
    *reason = SystemReason();
    platform::DeleteOnInterrupt(nullptr);
    if (!platform::OsPathExists(temp.c_str())) return false;
  }
  return false;
}

uint32_t StagedFile::Write(const unsigned char* bytes, uint32_t count, std::string* reason) {
  const uint32_t written = file_.Write(bytes, count);
  if (written < count) *reason = SystemReason();
  return written;
}

bool StagedFile::Commit(const archive::FileRecord& record, bool replace, std::string* reason) {
  file_.SetTimes(decode::StoredTimes(record));
  file_.Close();
  if (!platform::OsRenameFile(temp_path_.c_str(), path_.c_str(), replace)) {
    *reason = SystemReason();
    Abandon();
    return false;
  }
  platform::DeleteOnInterrupt(nullptr);
  temp_path_.clear();
  platform::OsSetAttributes(path_.c_str(), record.attributes);
  return true;
}

void StagedFile::Abandon() {
  file_.Close();
  if (temp_path_.empty()) return;
  platform::OsDeleteFile(temp_path_.c_str());
  platform::DeleteOnInterrupt(nullptr);
  temp_path_.clear();
}

}  // namespace cli
