#include "shell/win32/temp_program.h"

#include <windows.h>

#include "archive/shared_state.h"
#include "shell/temp_names.h"

namespace shell {

bool MakeTempProgramName(const char* prefix, char* name) {
  char folder[archive::kPathCapacity];
  GetTempPathA(sizeof folder, folder);
  if (!GetTempFileNameA(folder, prefix, 0, name)) return false;
  DeleteFileA(name);
  ReplaceExtension(name, archive::kPathCapacity, ".exe");
  return true;
}

}  // namespace shell
