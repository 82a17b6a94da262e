#include "base/path_text.h"

namespace base {

bool EndsWithSeparator(const char* text, char separator, const LeadBytes& lead) {
  bool last_is_separator = false;
  for (const char* p = text; *p; p += lead.CharLength(p)) last_is_separator = *p == separator;
  return last_is_separator;
}

void CutToVolumeRoot(char* folder, int capacity, const LeadBytes& lead) {
  char* after_last = nullptr;
  char* p = folder;
  for (; *p; p += lead.CharLength(p)) {
    if (*p == '\\') after_last = p + 1;
  }
  if (after_last) {
    *after_last = '\0';
  } else if (p - folder + 2 <= capacity) {
    p[0] = '\\';
    p[1] = '\0';
  }
}

}  // namespace base
