/* A preloaded library for the tests of `kelvarin` as a program: it stops
   the process with SIGSTOP at one known call, once. A test then knows
   where the program stands, can signal it or change the files under it,
   and lets it go on with SIGCONT. KELVARIN_STOP says where:
     (unset)          before the first write into one of its staged files
                      (".kelvarin-PID-N.tmp"): the staged file is open and
                      nothing is in place yet;
     read:TEXT        before a read from a file whose path holds TEXT, once
                      part of it has been read;
     rename:TEXT      after the first rename to a name that holds TEXT.
   Built for the tests only, never linked into kelvarin. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int stopped;

/* The TEXT of KELVARIN_STOP when it asks for this kind of call, else NULL. */
static const char* Wanted(const char* kind) {
  const char* stop = getenv("KELVARIN_STOP");
  const size_t length = strlen(kind);
  if (!stop) return strcmp(kind, "write") == 0 ? "/.kelvarin-" : NULL;
  return strncmp(stop, kind, length) == 0 && stop[length] == ':' ? stop + length + 1 : NULL;
}

static int PathHolds(int fd, const char* text) {
  char link[64], target[4096];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t length = readlink(link, target, sizeof target - 1);
  if (length <= 0) return 0;
  target[length] = '\0';
  return strstr(target, text) != NULL;
}

static void StopOnce(void) {
  if (stopped) return;
  stopped = 1;
  raise(SIGSTOP);
}

ssize_t write(int fd, const void* buffer, size_t count) {
  static ssize_t (*real_write)(int, const void*, size_t);
  if (!real_write) real_write = (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
  const char* text = Wanted("write");
  if (text && !stopped && PathHolds(fd, text)) StopOnce();
  return real_write(fd, buffer, count);
}

ssize_t read(int fd, void* buffer, size_t count) {
  static ssize_t (*real_read)(int, void*, size_t);
  if (!real_read) real_read = (ssize_t(*)(int, void*, size_t))dlsym(RTLD_NEXT, "read");
  const char* text = Wanted("read");
  if (text && !stopped && lseek(fd, 0, SEEK_CUR) > 0 && PathHolds(fd, text)) StopOnce();
  return real_read(fd, buffer, count);
}

static void AfterRename(int result, const char* to) {
  const char* text = Wanted("rename");
  if (result == 0 && text && strstr(to, text)) StopOnce();
}

int renameat(int from_folder, const char* from, int to_folder, const char* to) {
  static int (*real_renameat)(int, const char*, int, const char*);
  if (!real_renameat) real_renameat = (int (*)(int, const char*, int, const char*))dlsym(RTLD_NEXT, "renameat");
  const int result = real_renameat(from_folder, from, to_folder, to);
  AfterRename(result, to);
  return result;
}

int renameat2(int from_folder, const char* from, int to_folder, const char* to, unsigned flags) {
  static int (*real_renameat2)(int, const char*, int, const char*, unsigned);
  if (!real_renameat2) {
    real_renameat2 = (int (*)(int, const char*, int, const char*, unsigned))dlsym(RTLD_NEXT, "renameat2");
  }
  const int result = real_renameat2(from_folder, from, to_folder, to, flags);
  AfterRename(result, to);
  return result;
}
