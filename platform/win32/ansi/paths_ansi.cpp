// The ANSI seam: paths are texts of the system's ANSI code page, handed as
// they are to the ...A calls, and the system's reasons come in that code
// page too.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {
const char* SystemName(const char* path) { return path; }
}  // namespace
}  // namespace platform

#include "platform/win32/path_seam.inl"

namespace platform {

uint32_t OsPathCodePage() { return GetACP(); }

void OsErrorText(char* text, int capacity) {
  const DWORD error = GetLastError();
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                static_cast<DWORD>(capacity), nullptr);
  while (length > 0 && strchr(" .\r\n", text[length - 1])) --length;
  if (length == 0) {
    // No snprintf: it would bring MinGW's whole printf into a program
    // that otherwise has none.
    char number[16];
    _ultoa(error, number, 10);
    lstrcpynA(text, "system error ", capacity);
    const int used = lstrlenA(text);
    lstrcpynA(text + used, number, capacity - used);
  } else {
    text[length] = '\0';
  }
}

}  // namespace platform
