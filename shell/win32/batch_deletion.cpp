// The batch method of self-deletion: a hidden command interpreter at idle
// priority runs "\delus.bat" in the root of the current drive, deleting
// this program's file as soon as this process lets go of it.
#include <windows.h>

#include "archive/shared_state.h"
#include "shell/deletion_batch.h"
#include "shell/win32/self_deletion.h"

namespace shell {

void DeleteByBatch() {
  char own_path[archive::kPathCapacity];
  GetModuleFileNameA(nullptr, own_path, sizeof own_path);
  char text[kDeletionBatchCapacity];
  const int length = FormatDeletionBatch(text, sizeof text, own_path);
  if (!length) return;

  HANDLE file = CreateFileA(kDeletionBatchPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr);
  CloseHandle(file);

  char command_line[sizeof kDeletionBatchPath];  // the call may write to it
  lstrcpyA(command_line, kDeletionBatchPath);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION batch = {};
  if (!CreateProcessA(nullptr, command_line, nullptr, nullptr, FALSE, CREATE_SUSPENDED | IDLE_PRIORITY_CLASS,
                      nullptr, "\\", &startup, &batch)) {
    return;
  }
  // The batch waits at idle priority while this process, raised above
  // everything else, finishes and releases its file.
  SetThreadPriority(batch.hThread, THREAD_PRIORITY_IDLE);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
  SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
  CloseHandle(batch.hProcess);
  ResumeThread(batch.hThread);
  CloseHandle(batch.hThread);
}

}  // namespace shell
