// Program entry: tells the four command-line forms apart and runs one.
// Every form ends the process with exit code 0.
#include <windows.h>

#include "archive/shared_state.h"
#include "base/bounded_text.h"
#include "decode/destination_paths.h"
#include "shell/command_line.h"
#include "win32/dll_search.h"
#include "win32/forms.h"
#include "win32/language.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace win32;
  RestrictDllSearch();
  static archive::SharedState state;
  static shell::CommandLine line;
  line = shell::ParseCommandLine(GetCommandLineA(), decode::PathLeadBytes());
  switch (line.form) {
    case shell::Form::kExtraction:
      if (!ExtractStub()) {
        MessageBoxA(nullptr, LocalText(ui::TextId::kTakeOutFailed), state.archive_path,
                    MB_OK | MB_ICONERROR);
      }
      break;
    case shell::Form::kCheck:
    case shell::Form::kDialog:
      base::CopyText(state.archive_path, base::kPathCapacity, line.path);
      if (line.form == shell::Form::kCheck) {
        RunCheckForm(state);
      } else {
        RunDialogForm(state);
      }
      CleanupRelaunch();
      break;
    case shell::Form::kCleanup:
      RunCleanupForm(line.handle_text, line.path);
      break;
    case shell::Form::kUnrecognised:
      break;
  }
  return 0;
}
