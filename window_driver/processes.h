// Programs started for a run, in folders of their own, and the paths
// between the host and the Windows programs under Wine.
#pragma once

#include <windows.h>
#include <string>

namespace window_driver {

// A host path ("/work/...") as Windows programs see it ("Z:\work\...").
std::string WindowsPath(const std::string& host_path);
std::string Quoted(const std::string& text);
bool FileExists(const std::string& path);

// A fresh folder below the temporary folder, removed afterwards.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// A started program; the destructor ends it if it still runs.
class Process {
 public:
  // Starts the command line in the folder, which must be on drive C:
  // the program's clean-up chain may write a batch file into the root of
  // its current drive, and Z: is the host's own root. creation_flags go to
  // CreateProcess (DETACHED_PROCESS: a console program without a console),
  // and so does whether it inherits this process's inheritable handles.
  Process(const std::string& command_line, const std::string& folder, DWORD creation_flags = 0,
          bool inherit_handles = false);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  bool started() const { return info_.hProcess != nullptr; }
  // Why it did not start; empty when it did.
  const std::string& failure() const { return failure_; }
  DWORD id() const { return info_.dwProcessId; }
  // True when it ended within the time; the exit code is then set.
  bool WaitForExit(DWORD milliseconds, DWORD* exit_code = nullptr);

 private:
  PROCESS_INFORMATION info_{};
  std::string failure_;
};

}  // namespace window_driver
