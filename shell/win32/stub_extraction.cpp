// The extraction form: the archive copies its stub out to the decoder
// copy, warns when the stub was changed, and starts the copy on itself.
#include <windows.h>
#include <shellapi.h>

#include "archive/shared_state.h"
#include "shell/stub_copy.h"
#include "shell/win32/forms.h"
#include "shell/win32/temp_program.h"
#include "ui/win32/language.h"

namespace shell {
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

// Starts the decoder copy through the shell with one argument, ":::" and
// the archive path, quoted so that blanks in the path stay inside it.
void StartDecoderCopy(const char* copy_path, const char* archive_path) {
  char folder[archive::kPathCapacity];
  GetCurrentDirectoryA(sizeof folder, folder);
  char parameters[archive::kPathCapacity + 8];
  lstrcpyA(parameters, "\":::");
  lstrcatA(parameters, archive_path);
  lstrcatA(parameters, "\"");
  SHELLEXECUTEINFOA start = {};
  start.cbSize = sizeof start;
  start.fMask = kStartMask;
  start.hwnd = GetDesktopWindow();
  start.lpFile = copy_path;
  start.lpParameters = parameters;
  start.lpDirectory = folder;
  start.nShow = SW_SHOW;
  // Neither the result nor the process handle is used: this process ends.
  ShellExecuteExA(&start);
}

}  // namespace

int ExtractStub() {
  char copy_path[archive::kPathCapacity];
  if (!MakeTempProgramName("DEC", copy_path)) return 0;
  char own_path[archive::kPathCapacity];
  GetModuleFileNameA(nullptr, own_path, sizeof own_path);
  switch (CopyStub(own_path, copy_path)) {
    case StubCopy::kChecksumMatches:
      break;
    case StubCopy::kChecksumDiffers:
      // Only a warning: the decoder copy still starts.
      MessageBoxA(nullptr, ui::LocalText(ui::TextId::kTamperWarning),
                  ui::LocalText(ui::TextId::kWarningTitle), MB_OK | MB_ICONERROR);
      break;
    default:
      return 0;
  }
  // Gives the file system, and any scanner watching it, time to let go of
  // the fresh copy before it is started.
  Sleep(500);
  StartDecoderCopy(copy_path, own_path);
  return 1;
}

}  // namespace shell
