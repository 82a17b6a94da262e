#include "win32/local_volume.h"

#include <windows.h>

#include "base/path_text.h"
#include "base/paths.h"
#include "decode/destination_paths.h"

namespace win32 {

bool LocalVolumeSerial(uint32_t* serial) {
  char root[base::kPathCapacity + 1];
  const UINT length = GetWindowsDirectoryA(root, base::kPathCapacity);
  if (length == 0 || length >= base::kPathCapacity) return false;
  base::CutToVolumeRoot(root, sizeof root, decode::PathLeadBytes());
  DWORD value;
  if (!GetVolumeInformationA(root, nullptr, 0, &value, nullptr, nullptr, nullptr, 0)) return false;
  *serial = value;
  return true;
}

}  // namespace win32
