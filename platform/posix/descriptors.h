// What the POSIX seam files share: open files and folders carried as
// descriptor + 1 (so that null is "none"), the read-only attribute as the
// owner's write permission, and renames that may refuse to replace.
#pragma once

#include <sys/stat.h>
#include <cstdint>

#include "platform/os.h"

namespace platform::posix {

template <class Os>
int Fd(Os os) {
  return static_cast<int>(reinterpret_cast<intptr_t>(os.raw)) - 1;
}
template <class Os>
Os FromFd(int fd) {
  Os os;
  if (fd >= 0) os.raw = reinterpret_cast<void*>(static_cast<intptr_t>(fd) + 1);
  return os;
}

// Read-only clears every write permission; writable gives the owner's back.
inline mode_t ModeWithAttributes(mode_t mode, uint32_t attributes) {
  mode &= 07777;
  return (attributes & 1) ? (mode & ~static_cast<mode_t>(0222)) : (mode | S_IWUSR);
}

// Renames within one folder (AT_FDCWD: paths); without replace, an
// existing `to` makes it fail, also where the file system lacks
// RENAME_NOREPLACE.
bool RenameAt(int folder, const char* from, const char* to, bool replace);

}  // namespace platform::posix
