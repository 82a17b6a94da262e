// POSIX implementation of the system seam: plain file descriptors and
// calloc'ed memory that remembers its size.
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/fault_injection.h"
#include "platform/file_time.h"
#include "platform/os.h"
#include "platform/posix/descriptors.h"

namespace platform {
namespace {

using posix::Fd;
OsFile FromFd(int fd) { return posix::FromFd<OsFile>(fd); }

// Memory blocks carry their size in front of the data.
struct MemoryHeader {
  size_t size;
  alignas(std::max_align_t) unsigned char data[1];
};
constexpr size_t kHeaderSize = offsetof(MemoryHeader, data);

}  // namespace

OsFile OsOpenRead(const char* path) {
  // Without waiting: opening a FIFO for reading would block until a
  // writer came. Only a regular file is kept, and then reads block again.
  int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd >= 0) {
    struct stat st;
    const bool stated = fstat(fd, &st) == 0;
    const bool regular = stated && S_ISREG(st.st_mode);
    if (!regular || fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
      const int reason = !stated || regular ? errno : S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
      close(fd);
      fd = -1;
      errno = reason;
    }
  }
  return FromFd(fd);
}

OsFile OsCreateWrite(const char* path) {
  return FromFd(open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
}

OsFile OsCreateNew(const char* path) {
  return FromFd(open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
}

void OsClose(OsFile& file) {
  if (file.raw) close(Fd(file));
  file.raw = nullptr;
}

namespace {

// Moves count bytes with `transfer` (read or write) until all are moved,
// the file ends or the call fails, going on after an interrupted call; a
// fault injected for `call` shortens the count first.
template <class Byte, class Transfer>
uint32_t TransferAll(faults::Call call, Byte* bytes, uint32_t count, Transfer transfer) {
  uint32_t partial = 0;
  if (faults::Fails(call, &partial) && partial < count) count = partial;
  uint32_t done = 0;
  while (done < count) {
    const ssize_t n = transfer(bytes + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<uint32_t>(n);
  }
  return done;
}

}  // namespace

uint32_t OsRead(OsFile file, void* buffer, uint32_t count) {
  return TransferAll(faults::Call::kRead, static_cast<unsigned char*>(buffer), count,
                     [fd = Fd(file)](unsigned char* at, uint32_t n) { return read(fd, at, n); });
}

uint32_t OsWrite(OsFile file, const void* buffer, uint32_t count) {
  return TransferAll(faults::Call::kWrite, static_cast<const unsigned char*>(buffer), count,
                     [fd = Fd(file)](const unsigned char* at, uint32_t n) { return write(fd, at, n); });
}

bool OsSeek(OsFile file, uint64_t offset) {
  return lseek(Fd(file), static_cast<off_t>(offset), SEEK_SET) >= 0;
}

bool OsSize(OsFile file, uint64_t* size) {
  struct stat st;
  if (fstat(Fd(file), &st) != 0) return false;
  *size = static_cast<uint64_t>(st.st_size);
  return true;
}

bool OsSetFileTimes(OsFile file, const FileTimes& times) {
  auto to_timespec = [](uint64_t filetime) {
    const UnixTime unix_time = FiletimeToUnix(filetime);
    struct timespec ts;
    ts.tv_sec = static_cast<time_t>(unix_time.seconds);
    ts.tv_nsec = static_cast<long>(unix_time.nanoseconds);
    return ts;
  };
  struct timespec both[2] = {to_timespec(times.last_access), to_timespec(times.last_write)};
  return futimens(Fd(file), both) == 0;
}

bool OsSetAttributes(const char* path, uint32_t attributes) {
  struct stat st;
  if (stat(path, &st) != 0) return false;
  return chmod(path, posix::ModeWithAttributes(st.st_mode, attributes)) == 0;
}

bool OsGetFileTimes(const char* path, FileTimes* times, uint32_t* attributes) {
  struct stat st;
  if (stat(path, &st) != 0) return false;
  times->last_write = UnixToFiletime(st.st_mtim.tv_sec, static_cast<uint32_t>(st.st_mtim.tv_nsec));
  times->last_access = UnixToFiletime(st.st_atim.tv_sec, static_cast<uint32_t>(st.st_atim.tv_nsec));
  times->creation = times->last_write;
  constexpr uint32_t kReadOnly = 0x01, kArchive = 0x20;
  *attributes = (st.st_mode & S_IWUSR) ? kArchive : kReadOnly;
  return true;
}

bool OsPathExists(const char* path) { return access(path, F_OK) == 0; }

bool OsIsFolder(const char* path) {
  struct stat st;
  if (stat(path, &st) != 0) return false;
  if (S_ISDIR(st.st_mode)) return true;
  errno = ENOTDIR;  // the reason when a folder was wanted here
  return false;
}

bool OsCreateFolder(const char* path) { return mkdir(path, 0777) == 0; }
bool OsDeleteFile(const char* path) { return unlink(path) == 0; }

bool OsRenameFile(const char* from, const char* to, bool replace) {
  return posix::RenameAt(AT_FDCWD, from, to, replace);
}

void OsErrorText(char* text, int capacity) {
  snprintf(text, static_cast<size_t>(capacity), "%s", strerror(errno));
}

bool IsPathSeparator(char c) { return c == '/'; }
uint32_t OsPathCodePage() { return 65001; }  // names are written in UTF-8

MemoryHandle MemAllocZeroed(size_t size) {
  MemoryHandle handle;
  uint32_t unused = 0;
  if (size > SIZE_MAX - kHeaderSize || faults::Fails(faults::Call::kAllocate, &unused)) return handle;
  auto* header = static_cast<MemoryHeader*>(calloc(1, kHeaderSize + size));
  if (header) {
    header->size = size;
    handle.raw = header;
  }
  return handle;
}

size_t MemSize(MemoryHandle handle) {
  return handle.raw ? static_cast<MemoryHeader*>(handle.raw)->size : 0;
}

void* MemLock(MemoryHandle handle) {
  return handle.raw ? static_cast<MemoryHeader*>(handle.raw)->data : nullptr;
}

void MemUnlock(MemoryHandle) {}

void MemFree(MemoryHandle handle) { free(handle.raw); }

void WaitForMemory(uint32_t milliseconds) {
  struct timespec ts;
  ts.tv_sec = milliseconds / 1000;
  ts.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

}  // namespace platform
