// The words of the check walk's outcome: the archive path, an empty line
// and the message, except for a short header probe, which stands alone.
#pragma once

#include "archive/check_walk.h"
#include "ui/texts.h"

namespace ui {

// Room for a path, the separator and the longest message.
constexpr int kMessageCapacity = 1024;

struct MessageText {
  char text[kMessageCapacity];
};

MessageText CheckProblemMessage(archive::CheckProblem problem, const char* archive_path,
                                Language language);
MessageText CheckNoProblemMessage(const char* archive_path, Language language);

}  // namespace ui
