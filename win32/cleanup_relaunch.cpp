// The clean-up relaunch: a running program cannot delete its own file, so
// it copies itself to a clean-up copy and starts that with an inheritable
// handle of this process; the copy waits for this process to end and then
// deletes its file.
#include <windows.h>
#include <cstdint>

#include "base/paths.h"
#include "win32/forms.h"
#include "win32/temp_name.h"

namespace win32 {
namespace {

#if defined(__i386__)
static_assert(sizeof(STARTUPINFOA) == 68, "the start-up record of 32-bit Windows");
#endif

constexpr DWORD kPollMilliseconds = 500;
// The child's process object lives while this process holds its handle,
// so the first attempt succeeds; the bound only keeps the loop finite.
constexpr int kMaxPolls = 20;

// Waits until the started clean-up copy can be opened.
void WaitUntilStarted(DWORD process_id) {
  for (int poll = 0; poll < kMaxPolls; ++poll) {
    Sleep(kPollMilliseconds);
    // The handle stays open: the end of this process releases it.
    if (OpenProcess(SYNCHRONIZE, TRUE, process_id)) return;
  }
}

}  // namespace

void CleanupRelaunch() {
  char own_path[base::kPathCapacity];
  GetModuleFileNameA(nullptr, own_path, sizeof own_path);
  char copy_path[base::kPathCapacity];
  if (!MakeTempName("Del", ".exe", copy_path)) return;
  CopyFileA(own_path, copy_path, FALSE);

  HANDLE self = OpenProcess(SYNCHRONIZE, TRUE, GetCurrentProcessId());
  // Handle values fit in 32 bits on 64-bit Windows too.
  const int handle_number = static_cast<int>(reinterpret_cast<intptr_t>(self));
  char command_line[2 * base::kPathCapacity + 32];
  wsprintfA(command_line, "\"%s\" %d \":::%s\"", copy_path, handle_number, own_path);

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child = {};
  // Handles inherited: the clean-up copy owns `self` under the same number.
  // The child's process and thread handles are left to the end of this
  // process.
  if (CreateProcessA(nullptr, command_line, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child)) {
    WaitUntilStarted(child.dwProcessId);
  }
  if (self) CloseHandle(self);
}

}  // namespace win32
