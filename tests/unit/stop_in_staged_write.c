/* A preloaded library for the tests of `kelvarin` as a program: the first
   write into one of its staged files (".kelvarin-PID-N.tmp") stops the
   process with SIGSTOP, before the bytes go out. A test then knows where
   the program stands: its staged file is open and nothing is in place
   yet. It can signal it, change the folder under it, and let it go on
   with SIGCONT. Built for the tests only, never linked into kelvarin. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

static int stopped;

static int IsStagedFile(int fd) {
  char link[64], target[4096];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t length = readlink(link, target, sizeof target - 1);
  if (length <= 0) return 0;
  target[length] = '\0';
  return strstr(target, "/.kelvarin-") != NULL;
}

ssize_t write(int fd, const void* buffer, size_t count) {
  static ssize_t (*real_write)(int, const void*, size_t);
  if (!real_write) real_write = (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
  if (!stopped && IsStagedFile(fd)) {
    stopped = 1;
    raise(SIGSTOP);
  }
  return real_write(fd, buffer, count);
}
