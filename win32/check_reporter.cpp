#include "win32/check_reporter.h"

#include "ui/check_messages.h"
#include "win32/language.h"
#include "win32/resource_ids.h"

namespace win32 {

void WindowCheckReporter::Begin() { previous_cursor_ = SetCursor(LoadCursorA(nullptr, IDC_WAIT)); }

void WindowCheckReporter::OnEntryHeader(const archive::SharedState& state) {
  if (!window_) return;
  SetWindowTextA(window_, state.caption);
  SetDlgItemTextA(window_, IDC_PROMPT, state.archive_path);
}

void WindowCheckReporter::OnProgress(int percent) {
  if (!window_) return;
  char title[64];
  wsprintfA(title, ui::Text(ui::TextId::kCheckingProgress, ui::Language::kEnglish), percent);
  SetWindowTextA(window_, title);
}

void WindowCheckReporter::OnProblem(archive::CheckProblem problem,
                                    const archive::SharedState& state) {
  MessageBoxA(Owner(), CheckProblemMessage(problem, state.archive_path, CurrentLanguage()).text,
              state.caption, MB_OK | MB_ICONERROR);
}

void WindowCheckReporter::End() { SetCursor(previous_cursor_); }

void WindowCheckReporter::OnNoProblem(const archive::SharedState& state) {
  MessageBoxA(Owner(), CheckNoProblemMessage(state.archive_path, CurrentLanguage()).text,
              state.caption, MB_OK);
}

}  // namespace win32
