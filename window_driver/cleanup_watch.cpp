#include "window_driver/cleanup_watch.h"

#include "window_driver/processes.h"
#include "window_driver/window_search.h"

namespace window_driver {
namespace {

void AddMatches(const std::string& folder, const char* pattern, std::vector<std::string>* out) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    out->push_back(folder + "\\" + found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

std::string Listed(const std::vector<std::string>& files) {
  std::string out;
  for (const std::string& file : files) out += "\n  " + file;
  return out;
}

}  // namespace

std::string TemporaryFolder() {
  char buffer[MAX_PATH];
  GetTempPathA(sizeof buffer, buffer);
  std::string folder = buffer;
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::string DriveRoot(const std::string& path) { return path.substr(0, 3); }

std::vector<std::string> TemporaryPrograms(const std::string& folder) {
  std::vector<std::string> out;
  AddMatches(folder, "DEC*.exe", &out);
  AddMatches(folder, "Del*.exe", &out);
  return out;
}

std::vector<std::string> ChainFiles(const std::string& folder, bool root_batch_too) {
  std::vector<std::string> out = TemporaryPrograms(folder);
  AddMatches(folder, "Del*.bat", &out);
  AddMatches(folder, "Del*.tmp", &out);
  const std::string root_batch = DriveRoot(folder) + "delus.bat";
  if (root_batch_too && FileExists(root_batch)) out.push_back(root_batch);
  return out;
}

Outcome CleanUpFinished(const std::string& folder, bool root_batch_too) {
  std::vector<std::string> left;
  if (PollUntil([&] { return (left = ChainFiles(folder, root_batch_too)).empty(); }, 30000)) return Outcome::Done();
  return Outcome::Failed("left by the clean-up chain after 30 s:" + Listed(left));
}

bool WaitForDeletion(const std::string& path, DWORD milliseconds) {
  return PollUntil([&] { return !FileExists(path); }, milliseconds);
}

}  // namespace window_driver
