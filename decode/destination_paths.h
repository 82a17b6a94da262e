// Where output files go: parent folders, creating missing folders, and
// the names an archive may ask for below a chosen folder.
#pragma once

#include "platform/os.h"

namespace decode {

enum class PathStyle { kWindows, kPosix };
constexpr PathStyle kNativePathStyle = platform::kWindowsPaths ? PathStyle::kWindows : PathStyle::kPosix;

// The drive part and directory part of path (Windows: a drive letter and
// colon, then everything up to the last backslash or slash), joined, with
// one trailing backslash removed. Posix: everything up to the last slash,
// the root kept as "/". Returns false when the result would not fit.
bool ParentPath(const char* path, char* parent, int capacity, PathStyle style);

int IsFolder(const char* path);
// 1 when the folder that is to hold path exists or was made, else 0.
int EnsureParentFolder(const char* path);
// Makes the folder and its missing ancestors, top-down (a relative path's
// from the current folder); 0 on failure, and 0 when the walk up reaches a
// path that is its own parent.
int CreateFolderPath(const char* path);

// A stored name that begins with a backslash may name sub-folders below
// the chosen folder but never leave it: no "..", no drive or colon, no
// second leading separator, no empty component; '/' counts as '\'.
bool IsSafeRelativeName(const char* name);
// A name written directly into a folder: one component, no separator,
// drive, colon, "." or "..".
bool IsSafePlainName(const char* name);
// folder + relative name (its leading backslash included), separators
// made native. False when the result does not fit the path buffer.
bool JoinBelowFolder(const char* folder, const char* relative_name, char* out, int capacity);

}  // namespace decode
