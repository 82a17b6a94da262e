// The seam's path calls as kelvarin.exe makes them: paths are UTF-8 texts,
// turned into UTF-16 for the ...W calls, so that a Japanese archive can be
// extracted on a Windows whose ANSI code page has no Japanese characters.
#include <windows.h>

#include <cstdint>

#include "platform/win32/utf8/wide_name.h"

namespace platform {
namespace {

WideName SystemName(const char* path) { return WideName(path); }

}  // namespace
}  // namespace platform

#include "platform/win32/path_seam.inl"

namespace platform {
uint32_t OsPathCodePage() { return CP_UTF8; }
}  // namespace platform
