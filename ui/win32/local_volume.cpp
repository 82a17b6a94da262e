#include "ui/win32/local_volume.h"

#include <windows.h>

#include "archive/shared_state.h"
#include "ui/volume_root.h"

namespace ui {
namespace {
bool IsAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != 0; }
}  // namespace

bool LocalVolumeSerial(uint32_t* serial) {
  char root[archive::kPathCapacity + 1];
  const UINT length = GetWindowsDirectoryA(root, archive::kPathCapacity);
  if (length == 0 || length >= archive::kPathCapacity) return false;
  CutToVolumeRoot(root, sizeof root, IsAnsiLeadByte);
  DWORD value;
  if (!GetVolumeInformationA(root, nullptr, 0, &value, nullptr, nullptr, nullptr, 0)) return false;
  *serial = value;
  return true;
}

}  // namespace ui
