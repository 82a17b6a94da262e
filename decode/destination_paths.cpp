#include "decode/destination_paths.h"

#include <cstring>

#include "base/paths.h"

namespace decode {
namespace {

bool IsSeparator(char c, PathStyle style) { return c == '/' || (style == PathStyle::kWindows && c == '\\'); }

}  // namespace

base::LeadBytes PathLeadBytes() { return base::LeadBytes::OfCodePage(platform::OsPathCodePage()); }

bool ParentPath(const char* path, char* parent, int capacity, PathStyle style, const base::LeadBytes& lead) {
  size_t drive = 0;
  if (style == PathStyle::kWindows && path[0] && path[1] == ':') drive = 2;
  size_t end = drive;  // one past the last separator
  for (size_t i = drive; path[i]; i += lead.CharLength(path + i))
    if (IsSeparator(path[i], style)) end = i + 1;
  if (end >= static_cast<size_t>(capacity)) return false;
  memcpy(parent, path, end);
  parent[end] = '\0';
  // The last byte kept is a separator, never a trail byte.
  if (style == PathStyle::kWindows) {
    if (end > drive && parent[end - 1] == '\\') parent[end - 1] = '\0';
  } else if (end > 1 && parent[end - 1] == '/') {
    parent[end - 1] = '\0';
  }
  return true;
}

int IsFolder(const char* path) { return platform::OsIsFolder(path) ? 1 : 0; }

int EnsureParentFolder(const char* path) {
  char parent[platform::kPathCapacity];
  if (!ParentPath(path, parent, sizeof parent, kNativePathStyle, PathLeadBytes())) return 0;
  if (platform::OsPathExists(parent)) return IsFolder(parent);
  return CreateFolderPath(parent);
}

int CreateFolderPath(const char* path) {
  char parent[platform::kPathCapacity];
  if (!ParentPath(path, parent, sizeof parent, kNativePathStyle, PathLeadBytes())) return 0;
  if (strcmp(parent, path) == 0) return 0;
  if (parent[0] == '\0') return platform::OsCreateFolder(path) ? 1 : 0;  // a relative path's first folder
  if (platform::OsPathExists(parent)) {
    if (IsFolder(parent) != 1) return 0;
  } else if (!CreateFolderPath(parent)) {
    return 0;
  }
  return platform::OsCreateFolder(path) ? 1 : 0;
}

NameProblem CheckName(const char* name, bool relative, const base::LeadBytes& lead, PathStyle style) {
  if (!(relative ? IsSafeRelativeName(name, lead, style) : IsSafePlainName(name, lead, style))) {
    return NameProblem::kUnsafe;
  }
  if (platform::kNameMaxBytes == 0) return NameProblem::kNone;
  size_t component = 0;  // bytes of the component so far
  for (const char* p = name + (relative ? 1 : 0); *p; ++p) {
    component = IsStoredSeparator(*p) ? 0 : component + 1;
    if (component > static_cast<size_t>(platform::kNameMaxBytes)) return NameProblem::kTooLong;
  }
  return NameProblem::kNone;
}

bool JoinBelowFolder(const char* folder, const char* relative_name, char* out, int capacity,
                     const base::LeadBytes& lead) {
  size_t folder_length = strlen(folder);
  size_t name_length = strlen(relative_name);
  if (folder_length + name_length >= static_cast<size_t>(capacity)) return false;
  memcpy(out, folder, folder_length);
  memcpy(out + folder_length, relative_name, name_length + 1);
  for (char* p = out + folder_length; *p; p += lead.CharLength(p)) {
    if (IsStoredSeparator(*p)) *p = platform::kPathSeparator;
  }
  return true;
}

}  // namespace decode
