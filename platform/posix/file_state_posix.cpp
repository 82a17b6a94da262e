// POSIX answers to the tool's questions about files: stat, and the
// permissions changed through the descriptor.
#include <sys/stat.h>
#include <cerrno>

#include "platform/file_state.h"
#include "platform/posix/descriptors.h"

namespace platform {

PathKind OsPathKind(const char* path) {
  struct stat st;
  if (stat(path, &st) != 0) return errno == ELOOP ? PathKind::kLinkLoop : PathKind::kNone;
  if (S_ISREG(st.st_mode)) return PathKind::kFile;
  if (S_ISDIR(st.st_mode)) return PathKind::kFolder;
  if (S_ISFIFO(st.st_mode)) return PathKind::kFifo;
  if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return PathKind::kDevice;
  return S_ISSOCK(st.st_mode) ? PathKind::kSocket : PathKind::kOther;
}

bool OsFileStamp(OsFile file, FileStamp* stamp) {
  struct stat st;
  if (fstat(posix::Fd(file), &st) != 0) return false;
  auto nanoseconds = [](const timespec& t) {
    return static_cast<uint64_t>(t.tv_sec) * 1000000000u + static_cast<uint64_t>(t.tv_nsec);
  };
  stamp->size = static_cast<uint64_t>(st.st_size);
  stamp->modified = nanoseconds(st.st_mtim);
  stamp->changed = nanoseconds(st.st_ctim);
  return true;
}

bool OsSetOpenFileAttributes(OsFile file, uint32_t attributes) {
  struct stat st;
  const int fd = posix::Fd(file);
  return fstat(fd, &st) == 0 && fchmod(fd, posix::ModeWithAttributes(st.st_mode, attributes)) == 0;
}

}  // namespace platform
