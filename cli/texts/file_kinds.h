// Telling a user what a path is when a file was wanted: "is a FIFO (named
// pipe), not a regular file", "is a loop of symbolic links", or the system's
// reason when nothing is there. Asked before anything is opened, so that
// a FIFO is never waited on and a folder never read as an archive.
#pragma once

#include <string>

#include "platform/file_state.h"

namespace cli {

// "a FIFO (named pipe)", "a device", "a folder"...: what kind names.
std::string KindWords(platform::PathKind kind);
// Empty when path names a regular file (links followed), else why not.
std::string NotAFile(const char* path);

}  // namespace cli
