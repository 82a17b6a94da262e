// Splitting a path at its last separator, as this system writes paths.
#pragma once

#include <string>

#include "platform/os.h"

namespace cli {

// Where the last component of path begins: after its last separator, or 0.
inline size_t NameStart(const std::string& path) {
  for (size_t i = path.size(); i > 0; --i) {
    if (platform::IsPathSeparator(path[i - 1])) return i;
  }
  return 0;
}

// The folder part of path with its separator, empty for a bare name.
inline std::string FolderOf(const std::string& path) { return path.substr(0, NameStart(path)); }

}  // namespace cli
