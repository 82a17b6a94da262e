#include "cli/pack/pack_output.h"

#include "cli/texts/messages.h"
#include "cli/sinks/path_names.h"
#include "platform/folder.h"

namespace cli {

bool PackOutput::Create(const std::string& path, std::string* reason) {
  const size_t name_start = NameStart(path);
  // "dir/out.exe" lies in "dir/", "out.exe" here, "/out.exe" in the root.
  const std::string folder = name_start == 0 ? "." : path.substr(0, name_start > 1 ? name_start - 1 : 1);
  platform::Folder held = platform::Folder::Open(folder.c_str());
  if (!held.IsOpen()) {
    *reason = SystemReason();
    return false;
  }
  return file_.Create(std::move(held), path.substr(name_start), reason);
}

bool PackOutput::Append(const encoder::Bytes& bytes) {
  const uint32_t count = static_cast<uint32_t>(bytes.size());
  if (file_.Write(bytes.data(), count, &reason_) < count) return false;
  size_ += count;
  return true;
}

}  // namespace cli
