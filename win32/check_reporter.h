// Shows the check walk on Windows: the wait cursor, progress in the
// owner's title, and the outcome in a message box owned by the window
// (the desktop window when the check runs without one).
#pragma once

#include <windows.h>

#include "archive/check_walk.h"

namespace win32 {

class WindowCheckReporter : public archive::CheckReporter {
 public:
  explicit WindowCheckReporter(HWND window) : window_(window) {}

  void Begin() override;
  void OnEntryHeader(const archive::SharedState& state) override;
  void OnProgress(int percent) override;
  void OnProblem(archive::CheckProblem problem, const archive::SharedState& state) override;
  void End() override;
  void OnNoProblem(const archive::SharedState& state) override;

 private:
  HWND Owner() const { return window_ ? window_ : GetDesktopWindow(); }

  HWND window_;  // null when the check runs without a dialog
  HCURSOR previous_cursor_ = nullptr;
};

}  // namespace win32
