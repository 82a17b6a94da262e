// The check form: the archive's blocks verified without a dialog.
#include <windows.h>

#include "archive/check_walk.h"
#include "archive/locate_scan.h"
#include "shell/win32/forms.h"
#include "ui/win32/check_reporter.h"
#include "ui/win32/language.h"

namespace shell {

void RunCheckForm(archive::SharedState& state) {
  state.entry_offset = archive::LocateFirstEntry(state.archive_path);
  if (state.entry_offset == -1) {
    MessageBoxA(nullptr, ui::LocalText(ui::TextId::kNotArchive), state.archive_path,
                MB_OK | MB_ICONERROR);
    return;
  }
  ui::WindowCheckReporter reporter(nullptr);
  archive::CheckWalk(state, reporter);
}

}  // namespace shell
