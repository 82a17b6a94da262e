// The clean-up form: run by the clean-up copy, it waits for the program
// that started it to end, deletes that program's file, then its own.
#include <windows.h>
#include <cstdint>

#include "shell/command_line.h"
#include "win32/forms.h"
#include "win32/self_deletion.h"

namespace win32 {

void RunCleanupForm(const char* handle_text, const char* path) {
  const long number = shell::ParseHandleNumber(handle_text);
  // Negative numbers are pseudo handles of this very process or thread: a
  // wait on them would never end. Like 0, they name no process to wait for.
  if (number > 0) {
    HANDLE starter = reinterpret_cast<HANDLE>(static_cast<intptr_t>(number));
    WaitForSingleObject(starter, INFINITE);
    CloseHandle(starter);
  }
  DeleteFileA(path);
  DeleteSelf();
}

}  // namespace win32
