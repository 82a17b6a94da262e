#include "win32/self_deletion.h"

#include <windows.h>

namespace win32 {

#if defined(__i386__)
static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record of 32-bit Windows");
#endif

void DeleteSelf() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) return;
  // Builds without the routine do not even refer to it.
  if constexpr (kHasMemoryRoutine) {
    if (version.dwPlatformId != VER_PLATFORM_WIN32_NT) {
      DeleteByMemoryRoutine();
      return;
    }
  }
  DeleteByBatch();
}

}  // namespace win32
