#include "cleanup_support.h"

#include "e2e_support.h"

namespace e2e {
namespace {

bool Variable(const char* name, std::string* value) {
  char buffer[MAX_PATH * 2];
  const DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return false;
  *value = buffer;
  return true;
}

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

std::vector<std::string> ChainFiles(const std::string& folder, const std::string& root, bool root_batch_too) {
  std::vector<std::string> out = TemporaryPrograms(folder);
  AddMatches(folder, "Del*.bat", &out);
  AddMatches(folder, "Del*.tmp", &out);
  if (root_batch_too && FileExists(root + "delus.bat")) out.push_back(root + "delus.bat");
  return out;
}

std::vector<std::string> WaitForCleanUp(const std::string& folder, const std::string& root, DWORD milliseconds,
                                        bool root_batch_too) {
  std::vector<std::string> left;
  PollUntil([&] { return (left = ChainFiles(folder, root, root_batch_too)).empty(); }, milliseconds);
  return left;
}

::testing::AssertionResult CleanUpFinished(DWORD milliseconds) {
  const std::string folder = TemporaryFolder();
  const std::vector<std::string> left = WaitForCleanUp(folder, DriveRoot(folder), milliseconds);
  if (left.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "left by the clean-up chain after " << milliseconds << " ms:" << Listed(left);
}

bool WaitForDeletion(const std::string& path, DWORD milliseconds) {
  return PollUntil([&] { return !FileExists(path); }, milliseconds);
}

void ProgramTest::TearDown() {
  const ::testing::AssertionResult finished = CleanUpFinished();
  EXPECT_TRUE(finished);
  if (finished) return;
  const std::string folder = TemporaryFolder();
  for (const std::string& file : ChainFiles(folder, DriveRoot(folder))) DeleteFileA(file.c_str());
}

TemporaryFolderOverride::TemporaryFolderOverride(const std::string& folder) {
  had_tmp_ = Variable("TMP", &old_tmp_);
  had_temp_ = Variable("TEMP", &old_temp_);
  SetEnvironmentVariableA("TMP", folder.c_str());
  SetEnvironmentVariableA("TEMP", folder.c_str());
}

TemporaryFolderOverride::~TemporaryFolderOverride() {
  SetEnvironmentVariableA("TMP", had_tmp_ ? old_tmp_.c_str() : nullptr);
  SetEnvironmentVariableA("TEMP", had_temp_ ? old_temp_.c_str() : nullptr);
}

}  // namespace e2e
