// What a program may ask of files beyond reading and writing them: what a
// path names before it is opened, whether an open file changed while it
// was read, and attributes set through the open file rather than by name.
#pragma once

#include <cstdint>

#include "platform/file.h"

namespace platform {

// What a path names, links followed. kNone when nothing can be found
// there; the system's reason is then kept for OsErrorText.
enum class PathKind { kNone, kFile, kFolder, kFifo, kDevice, kSocket, kLinkLoop, kOther };
PathKind OsPathKind(const char* path);

// What changes when a file is written: its size, and its modification and
// change times (status change; Windows: ChangeTime). Compared, never shown.
struct FileStamp {
  uint64_t size = 0;
  uint64_t modified = 0;
  uint64_t changed = 0;
  bool operator==(const FileStamp& other) const {
    return size == other.size && modified == other.modified && changed == other.changed;
  }
  bool operator!=(const FileStamp& other) const { return !(*this == other); }
};
bool OsFileStamp(OsFile file, FileStamp* stamp);

// As OsSetAttributes, on the open file itself: what a name may point to
// by then does not matter.
bool OsSetOpenFileAttributes(OsFile file, uint32_t attributes);

}  // namespace platform
