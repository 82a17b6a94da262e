// The check form: the archive's blocks verified without a dialog.
#include <windows.h>

#include "archive/check_walk.h"
#include "archive/locate_scan.h"
#include "win32/check_reporter.h"
#include "win32/forms.h"
#include "win32/language.h"

namespace win32 {

void RunCheckForm(archive::SharedState& state) {
  state.entry_offset = archive::LocateFirstEntry(state.archive_path);
  if (state.entry_offset == -1) {
    MessageBoxA(nullptr, LocalText(ui::TextId::kNotArchive), state.archive_path,
                MB_OK | MB_ICONERROR);
    return;
  }
  WindowCheckReporter reporter(nullptr);
  archive::CheckWalk(state, reporter);
}

}  // namespace win32
