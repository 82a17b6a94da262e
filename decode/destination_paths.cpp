#include "decode/destination_paths.h"

#include <cstring>

#include "base/paths.h"

namespace decode {
namespace {

bool IsSeparator(char c, PathStyle style) { return c == '/' || (style == PathStyle::kWindows && c == '\\'); }

}  // namespace

bool ParentPath(const char* path, char* parent, int capacity, PathStyle style) {
  size_t drive = 0;
  if (style == PathStyle::kWindows && path[0] && path[1] == ':') drive = 2;
  size_t end = drive;  // one past the last separator
  for (size_t i = drive; path[i]; ++i)
    if (IsSeparator(path[i], style)) end = i + 1;
  if (end >= static_cast<size_t>(capacity)) return false;
  memcpy(parent, path, end);
  parent[end] = '\0';
  if (style == PathStyle::kWindows) {
    if (end > 0 && parent[end - 1] == '\\') parent[end - 1] = '\0';
  } else if (end > 1 && parent[end - 1] == '/') {
    parent[end - 1] = '\0';
  }
  return true;
}

int IsFolder(const char* path) { return platform::OsIsFolder(path) ? 1 : 0; }

int EnsureParentFolder(const char* path) {
  char parent[base::kPathCapacity];
  if (!ParentPath(path, parent, sizeof parent, kNativePathStyle)) return 0;
  if (platform::OsPathExists(parent)) return IsFolder(parent);
  return CreateFolderPath(parent);
}

int CreateFolderPath(const char* path) {
  char parent[base::kPathCapacity];
  if (!ParentPath(path, parent, sizeof parent, kNativePathStyle)) return 0;
  if (strcmp(parent, path) == 0) return 0;
  if (parent[0] == '\0') return platform::OsCreateFolder(path) ? 1 : 0;  // a relative path's first folder
  if (platform::OsPathExists(parent)) {
    if (IsFolder(parent) != 1) return 0;
  } else if (!CreateFolderPath(parent)) {
    return 0;
  }
  return platform::OsCreateFolder(path) ? 1 : 0;
}

bool IsSafeRelativeName(const char* name) {
  auto separator = [](char c) { return c == '\\' || c == '/'; };
  if (!separator(name[0])) return false;
  // Each component after a separator: not empty, not "..", no colon.
  const char* p = name;
  while (*p) {
    ++p;  // past the separator
    const char* start = p;
    while (*p && !separator(*p)) {
      if (*p == ':') return false;
      ++p;
    }
    size_t length = static_cast<size_t>(p - start);
    if (length == 0) return false;
    if (length == 2 && start[0] == '.' && start[1] == '.') return false;
  }
  return true;
}

bool IsSafePlainName(const char* name) {
  if (!name[0] || strcmp(name, ".") == 0 || strcmp(name, "..") == 0) return false;
  return strpbrk(name, "\\/:") == nullptr;
}

bool JoinBelowFolder(const char* folder, const char* relative_name, char* out, int capacity) {
  size_t folder_length = strlen(folder);
  size_t name_length = strlen(relative_name);
  if (folder_length + name_length >= static_cast<size_t>(capacity)) return false;
  memcpy(out, folder, folder_length);
  for (size_t i = 0; i <= name_length; ++i) {
    char c = relative_name[i];
    out[folder_length + i] = (c == '\\' || c == '/') ? platform::kPathSeparator : c;
  }
  return true;
}

}  // namespace decode
