#include "cleanup_support.h"

#include <gtest/gtest.h>

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

struct TitleSearch {
  const std::string* title;
  HWND found = nullptr;
};

BOOL CALLBACK FindDialogByTitle(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TitleSearch*>(param);
  char class_name[64] = {}, title[512] = {};
  GetClassNameA(window, class_name, sizeof class_name);
  GetWindowTextA(window, title, sizeof title);
  if (IsWindowVisible(window) && strcmp(class_name, "#32770") == 0 && *search->title == title) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::string FreshCopyOfDecoder(const TempFolder& folder) {
  static int copies = 0;
  return CopyOfDecoder(folder, "decoder-copy-" + std::to_string(++copies) + ".exe");
}

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

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

long WaitForCleanUp(const std::string& folder, const std::string& root, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  const std::string batch = root + "delus.bat";
  while (!TemporaryPrograms(folder).empty() || FileExists(batch)) {
    if (GetTickCount() - start >= milliseconds) return -1;
    Sleep(20);
  }
  return static_cast<long>(GetTickCount() - start);
}

bool CleanUpFinished(DWORD milliseconds) {
  const std::string folder = TemporaryFolder();
  return WaitForCleanUp(folder, DriveRoot(folder), milliseconds) >= 0;
}

bool WaitForDeletion(const std::string& path, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (FileExists(path)) {
    if (GetTickCount() - start >= milliseconds) return false;
    Sleep(20);
  }
  return true;
}

HWND WaitForDialogOfAnyProcess(const std::string& title, DWORD* process_id, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    TitleSearch search{&title};
    EnumWindows(FindDialogByTitle, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      GetWindowThreadProcessId(search.found, process_id);
      return search.found;
    }
    Sleep(50);
  }
  ADD_FAILURE() << "no dialog \"" << title << "\" from any process";
  return nullptr;
}

bool WaitForProcessEnd(DWORD process_id, DWORD milliseconds) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, process_id);
  if (!process) return true;  // already gone
  const bool ended = WaitForSingleObject(process, milliseconds) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}

bool WaitForWindowGone(HWND window, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (IsWindow(window)) {
    if (GetTickCount() - start >= milliseconds) return false;
    Sleep(10);
  }
  return true;
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
