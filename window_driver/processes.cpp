#include "window_driver/processes.h"

#include <shlobj.h>
#include <cstdio>

namespace window_driver {

std::string WindowsPath(const std::string& host_path) {
  std::string path = host_path;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TempFolder::TempFolder() {
  char base[MAX_PATH];
  GetTempPathA(sizeof base, base);
  // Process ids repeat from one Wine run to the next: take the first name
  // that is not there yet.
  static int counter = 0;
  char name[MAX_PATH];
  do {
    snprintf(name, sizeof name, "%se2e-%lu-%d", base, GetCurrentProcessId(), ++counter);
  } while (!CreateDirectoryA(name, nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
  path_ = name;
}

TempFolder::~TempFolder() {
  // The list of paths ends with an empty one; read-only files go too.
  const std::string from = path_ + '\0';
  SHFILEOPSTRUCTA remove{};
  remove.wFunc = FO_DELETE;
  remove.pFrom = from.c_str();
  remove.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  SHFileOperationA(&remove);
}

Process::Process(const std::string& command_line, const std::string& folder, DWORD creation_flags,
                 bool inherit_handles) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string line = command_line;
  if (folder.size() < 3 || (folder[0] != 'C' && folder[0] != 'c') || folder[1] != ':') {
    failure_ = "not started outside drive C: " + command_line + " in \"" + folder + "\"";
    return;
  }
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, inherit_handles, creation_flags, nullptr, folder.c_str(),
                      &startup, &info_)) {
    failure_ = "could not start: " + command_line + " (error " + std::to_string(GetLastError()) + ")";
    info_ = {};
  }
}

Process::~Process() {
  if (!info_.hProcess) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
  CloseHandle(info_.hProcess);
  CloseHandle(info_.hThread);
}

bool Process::WaitForExit(DWORD milliseconds, DWORD* exit_code) {
  if (!info_.hProcess || WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return false;
  if (exit_code) GetExitCodeProcess(info_.hProcess, exit_code);
  return true;
}

}  // namespace window_driver
