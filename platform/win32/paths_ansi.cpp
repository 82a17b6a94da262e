// The seam's path calls as the decoder makes them: paths are ANSI texts,
// handed as they are to the ...A calls.
#include <windows.h>

#include <cstdint>

namespace platform {
namespace {
const char* SystemName(const char* path) { return path; }
}  // namespace
}  // namespace platform

#include "platform/win32/path_seam.inl"

namespace platform {
uint32_t OsPathCodePage() { return GetACP(); }
}  // namespace platform
