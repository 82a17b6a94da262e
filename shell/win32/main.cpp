// Program entry: tells the four command-line forms apart and runs one.
// Every form ends the process with exit code 0.
#include <windows.h>

#include "archive/shared_state.h"
#include "shell/command_line.h"
#include "shell/win32/dll_search.h"
#include "shell/win32/forms.h"
#include "ui/win32/language.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  shell::RestrictDllSearch();
  static archive::SharedState state;
  static shell::CommandLine line;
  line = shell::ParseCommandLine(GetCommandLineA());
  switch (line.form) {
    case shell::Form::kExtraction:
      if (!shell::ExtractStub()) {
        MessageBoxA(nullptr, ui::LocalText(ui::TextId::kTakeOutFailed), state.archive_path,
                    MB_OK | MB_ICONERROR);
      }
      break;
    case shell::Form::kCheck:
    case shell::Form::kDialog:
      archive::CopyText(state.archive_path, archive::kPathCapacity, line.path);
      if (line.form == shell::Form::kCheck) {
        shell::RunCheckForm(state);
      } else {
        shell::RunDialogForm(state);
      }
      shell::CleanupRelaunch();
      break;
    case shell::Form::kCleanup:
      shell::RunCleanupForm(line.handle_text, line.path);
      break;
    case shell::Form::kUnrecognised:
      break;
  }
  return 0;
}
