#include "cli/sinks/staged_file.h"

#include "cli/texts/messages.h"
#include "decode/disk_output.h"
#include "platform/console.h"
#include "platform/file_state.h"
#include "platform/os.h"

namespace cli {

bool StagedFile::Create(platform::Folder folder, const std::string& name, std::string* reason) {
  Abandon();
  folder_ = std::move(folder);
  const std::string stem = ".kelvarin-" + std::to_string(platform::ProcessId()) + "-";
  // Names left by an earlier process of the same number are passed over.
  for (int n = 1; n <= 100; ++n) {
    const std::string temp = stem + std::to_string(n) + ".tmp";
    // Known to the signal handler before it exists: a signal right after
    // its creation removes it too.
    platform::DeleteOnSignal(folder_, temp.c_str());
    file_ = folder_.CreateNew(temp.c_str());
    if (file_.IsOpen()) {
      name_ = name;
      temp_name_ = temp;
      return true;
    }
    *reason = SystemReason();
    platform::DeleteOnSignal(folder_, nullptr);
    if (folder_.KindOf(temp.c_str()) == platform::NameKind::kNone) return false;
  }
  return false;
}

uint32_t StagedFile::Write(const unsigned char* bytes, uint32_t count, std::string* reason) {
  const uint32_t written = file_.Write(bytes, count);
  if (written < count) *reason = SystemReason();
  return written;
}

bool StagedFile::Commit(const archive::FileRecord* record, bool replace, std::string* reason) {
  if (record) {
    file_.SetTimes(decode::StoredTimes(*record));
    platform::OsSetOpenFileAttributes(file_.os(), record->attributes);
  }
  file_.Close();
  if (!folder_.Rename(temp_name_.c_str(), name_.c_str(), replace)) {
    *reason = SystemReason();
    Abandon();
    return false;
  }
  platform::DeleteOnSignal(folder_, nullptr);
  temp_name_.clear();
  return true;
}

void StagedFile::Abandon() {
  file_.Close();
  if (temp_name_.empty()) return;
  folder_.Delete(temp_name_.c_str());
  platform::DeleteOnSignal(folder_, nullptr);
  temp_name_.clear();
}

}  // namespace cli
