// POSIX folders held as descriptors; every name is opened relative to its
// folder with O_NOFOLLOW, so a symbolic link is met as itself.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>

#include "platform/folder.h"
#include "platform/posix/descriptors.h"

namespace platform {
namespace {

using posix::Fd;
OsFolder FolderFromFd(int fd) { return posix::FromFd<OsFolder>(fd); }
OsFile FileFromFd(int fd) { return posix::FromFd<OsFile>(fd); }


int OpenSub(OsFolder parent, const char* name) {
  return openat(Fd(parent), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

}  // namespace

OsFolder OsOpenFolder(const char* path) { return FolderFromFd(open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC)); }

FolderStep OsOpenSubfolder(OsFolder parent, const char* name, bool create, OsFolder* out) {
  int fd = OpenSub(parent, name);
  // Made by someone else between the two calls is as good as made here.
  if (fd < 0 && errno == ENOENT && create && (mkdirat(Fd(parent), name, 0777) == 0 || errno == EEXIST)) {
    fd = OpenSub(parent, name);
  }
  if (fd >= 0) {
    *out = FolderFromFd(fd);
    return FolderStep::kOpened;
  }
  const int reason = errno;
  const NameKind kind = OsNameKind(parent, name);
  errno = reason;
  if (kind == NameKind::kLink) return FolderStep::kLink;
  if (kind == NameKind::kFile || kind == NameKind::kOther) return FolderStep::kNotFolder;
  return FolderStep::kFailed;
}

void OsCloseFolder(OsFolder& folder) {
  if (folder.raw) close(Fd(folder));
  folder.raw = nullptr;
}

NameKind OsNameKind(OsFolder folder, const char* name) {
  struct stat st;
  if (fstatat(Fd(folder), name, &st, AT_SYMLINK_NOFOLLOW) != 0) return NameKind::kNone;
  if (S_ISLNK(st.st_mode)) return NameKind::kLink;
  if (S_ISDIR(st.st_mode)) return NameKind::kFolder;
  return S_ISREG(st.st_mode) ? NameKind::kFile : NameKind::kOther;
}

OsFile OsCreateNewIn(OsFolder folder, const char* name) {
  return FileFromFd(openat(Fd(folder), name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
}

bool posix::RenameAt(int folder, const char* from, const char* to, bool replace) {
  if (replace) return renameat(folder, from, folder, to) == 0;
  if (renameat2(folder, from, folder, to, RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without that flag: a second name, then the first one goes.
  if (linkat(folder, from, folder, to, 0) != 0) return false;
  unlinkat(folder, from, 0);
  return true;
}

bool OsRenameIn(OsFolder folder, const char* from, const char* to, bool replace) {
  return posix::RenameAt(Fd(folder), from, to, replace);
}

bool OsDeleteIn(OsFolder folder, const char* name) { return unlinkat(Fd(folder), name, 0) == 0; }

}  // namespace platform
