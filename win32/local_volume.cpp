#include "win32/local_volume.h"

#include <windows.h>

#include "base/paths.h"
#include "ui/volume_root.h"

namespace win32 {
namespace {
bool IsAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != 0; }
}  // namespace

bool LocalVolumeSerial(uint32_t* serial) {
  char root[base::kPathCapacity + 1];
  const UINT length = GetWindowsDirectoryA(root, base::kPathCapacity);
  if (length == 0 || length >= base::kPathCapacity) return false;
  ui::CutToVolumeRoot(root, sizeof root, IsAnsiLeadByte);
  DWORD value;
  if (!GetVolumeInformationA(root, nullptr, 0, &value, nullptr, nullptr, nullptr, 0)) return false;
  *serial = value;
  return true;
}

}  // namespace win32
