#include "win32/temp_name.h"

#include <windows.h>

#include "base/paths.h"
#include "shell/temp_names.h"

namespace win32 {

bool MakeTempName(const char* prefix, const char* extension, char* name) {
  char folder[base::kPathCapacity];
  GetTempPathA(sizeof folder, folder);
  if (!GetTempFileNameA(folder, prefix, 0, name)) return false;
  DeleteFileA(name);
  return shell::ReplaceExtension(name, base::kPathCapacity, extension);
}

}  // namespace win32
