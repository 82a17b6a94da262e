#include "cli/texts/file_kinds.h"

#include "cli/texts/messages.h"

namespace cli {

std::string KindWords(platform::PathKind kind) {
  switch (kind) {
    case platform::PathKind::kFile: return "a file";
    case platform::PathKind::kFolder: return "a folder";
    case platform::PathKind::kFifo: return "a FIFO (named pipe)";
    case platform::PathKind::kDevice: return "a device";
    case platform::PathKind::kSocket: return "a socket";
    case platform::PathKind::kLinkLoop: return "a loop of symbolic links";
    case platform::PathKind::kNone:
    case platform::PathKind::kOther: break;
  }
  return "a special file";
}

std::string NotAFile(const char* path) {
  const platform::PathKind kind = platform::OsPathKind(path);
  if (kind == platform::PathKind::kFile) return "";
  if (kind == platform::PathKind::kNone) return SystemReason();
  return "is " + KindWords(kind) + ", not a regular file";
}

}  // namespace cli
