#include "win32/temp_program.h"

#include <windows.h>

#include "base/paths.h"
#include "shell/temp_names.h"

namespace win32 {

bool MakeTempProgramName(const char* prefix, char* name) {
  char folder[base::kPathCapacity];
  GetTempPathA(sizeof folder, folder);
  if (!GetTempFileNameA(folder, prefix, 0, name)) return false;
  DeleteFileA(name);
  shell::ReplaceExtension(name, base::kPathCapacity, ".exe");
  return true;
}

}  // namespace win32
