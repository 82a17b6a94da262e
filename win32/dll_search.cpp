#include "win32/dll_search.h"

#include <windows.h>

namespace win32 {
namespace {

// Both calls are looked up at run time: older systems have neither.
template <typename Function>
Function Kernel32Function(const char* name) {
  FARPROC address = GetProcAddress(GetModuleHandleA("KERNEL32"), name);
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

}  // namespace

void RestrictDllSearch() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCSTR);
  auto set_default = Kernel32Function<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories");
  if (set_default && set_default(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  // Without it, at least take the current folder out of the search.
  auto set_directory = Kernel32Function<SetDllDirectoryFunction>("SetDllDirectoryA");
  if (set_directory) set_directory("");
}

}  // namespace win32
