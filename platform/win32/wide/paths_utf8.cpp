// The wide seam: paths are UTF-8 texts, turned into UTF-16 for the ...W
// calls, so that a Japanese archive can be extracted on a Windows whose
// ANSI code page has no Japanese characters; the system's reasons come in
// UTF-8 too.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>

#include "platform/win32/wide/wide_name.h"

namespace platform {
namespace {

WideName SystemName(const char* path) { return WideName(path); }

}  // namespace
}  // namespace platform

#include "platform/win32/path_seam.inl"

namespace platform {

uint32_t OsPathCodePage() { return CP_UTF8; }

void OsErrorText(char* text, int capacity) {
  if (capacity <= 0) return;
  const DWORD error = GetLastError();
  wchar_t wide[512];
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, wide,
                                sizeof wide / sizeof wide[0], nullptr);
  while (length > 0 && wcschr(L" .\r\n", wide[length - 1])) --length;
  std::string utf8 = length > 0 ? Utf8FromWide(wide, length) : "system error " + std::to_string(error);
  if (utf8.size() >= static_cast<size_t>(capacity)) utf8.resize(static_cast<size_t>(capacity) - 1);
  memcpy(text, utf8.c_str(), utf8.size() + 1);
}

}  // namespace platform
