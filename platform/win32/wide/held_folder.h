// What the wide seam holds for a folder (platform/folder.h): the directory
// handle, opened without delete sharing so that the folder cannot be
// renamed, removed or replaced while it is held, and the path it was
// opened by, which therefore still names it.
#pragma once

#include <windows.h>

#include "platform/folder.h"

namespace platform {

struct HeldFolder {
  HANDLE handle;
  char path[MAX_PATH];
};

inline HeldFolder* Held(OsFolder folder) { return static_cast<HeldFolder*>(folder.raw); }

}  // namespace platform
