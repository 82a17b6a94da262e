#include "win32/shell_start.h"

#include <windows.h>
#include <shellapi.h>

#include "base/paths.h"

namespace win32 {
namespace {

#if defined(__i386__)
static_assert(sizeof(SHELLEXECUTEINFOA) == 60, "the shell's start record of 32-bit Windows");
#endif

// Icon, process handle kept, network drives, DDE wait, environment
// substitution, no error boxes. The icon flag (0x10) is no longer named
// by newer headers.
constexpr ULONG kSeeMaskIcon = 0x10;
constexpr ULONG kStartMask = kSeeMaskIcon | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_CONNECTNETDRV |
                             SEE_MASK_FLAG_DDEWAIT | SEE_MASK_DOENVSUBST | SEE_MASK_FLAG_NO_UI;
static_assert(kStartMask == 0x7D0);

}  // namespace

void StartThroughShell(const char* file, const char* parameters) {
  char folder[base::kPathCapacity];
  GetCurrentDirectoryA(sizeof folder, folder);
  SHELLEXECUTEINFOA start = {};
  start.cbSize = sizeof start;
  start.fMask = kStartMask;
  start.hwnd = GetDesktopWindow();
  start.lpFile = file;
  start.lpParameters = parameters;
  start.lpDirectory = folder;
  start.nShow = SW_SHOW;
  ShellExecuteExA(&start);
}

}  // namespace win32
