// Starting a file through the shell the way this program always does it:
// the file's default action, from the current folder, shown, owned by the
// desktop window, with the start flags 0x7D0. Neither the result nor the
// process handle is used.
#pragma once

namespace win32 {

void StartThroughShell(const char* file, const char* parameters);

}  // namespace win32
