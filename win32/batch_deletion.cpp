// The batch method of self-deletion: a hidden command interpreter at idle
// priority runs a batch file that deletes this program's file as soon as
// this process lets go of it.
#include <windows.h>

#include "base/paths.h"
#include "shell/deletion_batch.h"
#include "win32/self_deletion.h"
#include "win32/temp_name.h"

namespace win32 {
namespace {

class Win32BatchSystem : public shell::BatchSystem {
 public:
  bool CreateNew(const char* path, const char* text, int length) override {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool complete = WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr) &&
                          written == static_cast<DWORD>(length);
    CloseHandle(file);
    if (!complete) DeleteFileA(path);
    return complete;
  }

  bool Start(const char* path) override {
    // The root batch is started by its bare name; a temporary folder's
    // path may hold blanks.
    char command_line[base::kPathCapacity + 2];  // the call may write to it
    if (lstrcmpA(path, shell::kDeletionBatchPath) == 0) {
      lstrcpyA(command_line, path);
    } else {
      wsprintfA(command_line, "\"%s\"", path);
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION batch = {};
    if (!CreateProcessA(nullptr, command_line, nullptr, nullptr, FALSE, CREATE_SUSPENDED | IDLE_PRIORITY_CLASS,
                        nullptr, "\\", &startup, &batch)) {
      return false;
    }
    // The batch waits at idle priority while this process, raised above
    // everything else, finishes and releases its file.
    SetThreadPriority(batch.hThread, THREAD_PRIORITY_IDLE);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
    CloseHandle(batch.hProcess);
    ResumeThread(batch.hThread);
    CloseHandle(batch.hThread);
    return true;
  }

  void Delete(const char* path) override { DeleteFileA(path); }

  bool TemporaryBatchName(char* name) override { return MakeTempName("Del", ".bat", name); }
};

}  // namespace

void DeleteByBatch() {
  char own_path[base::kPathCapacity];
  GetModuleFileNameA(nullptr, own_path, sizeof own_path);
  Win32BatchSystem system;
  shell::StartDeletionBatch(system, own_path);
}

}  // namespace win32
