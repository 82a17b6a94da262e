// The extraction form: the archive copies its stub out to the decoder
// copy, warns when the stub was changed, and starts the copy on itself.
#include <windows.h>

#include "base/paths.h"
#include "shell/stub_copy.h"
#include "win32/forms.h"
#include "win32/language.h"
#include "win32/shell_start.h"
#include "win32/temp_name.h"

namespace win32 {
namespace {

// Starts the decoder copy through the shell with one argument, ":::" and
// the archive path, quoted so that blanks in the path stay inside it.
void StartDecoderCopy(const char* copy_path, const char* archive_path) {
  char parameters[base::kPathCapacity + 8];
  lstrcpyA(parameters, "\":::");
  lstrcatA(parameters, archive_path);
  lstrcatA(parameters, "\"");
  StartThroughShell(copy_path, parameters);
}

}  // namespace

int ExtractStub() {
  char copy_path[base::kPathCapacity];
  if (!MakeTempName("DEC", ".exe", copy_path)) return 0;
  char own_path[base::kPathCapacity];
  GetModuleFileNameA(nullptr, own_path, sizeof own_path);
  switch (shell::CopyStub(own_path, copy_path)) {
    case shell::StubCopy::kChecksumMatches:
      break;
    case shell::StubCopy::kChecksumDiffers:
      // Only a warning: the decoder copy still starts.
      MessageBoxA(nullptr, LocalText(ui::TextId::kTamperWarning),
                  LocalText(ui::TextId::kWarningTitle), MB_OK | MB_ICONERROR);
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

}  // namespace win32
