#include "ui/volume_root.h"

namespace ui {

void CutToVolumeRoot(char* folder, int capacity, LeadBytePredicate is_lead_byte) {
  char* after_last = nullptr;
  char* p = folder;
  while (*p) {
    if (is_lead_byte(static_cast<unsigned char>(*p)) && p[1] != '\0') {
      p += 2;
      continue;
    }
    if (*p == '\\') after_last = p + 1;
    ++p;
  }
  if (after_last) {
    *after_last = '\0';
  } else if (p - folder + 2 <= capacity) {
    p[0] = '\\';
    p[1] = '\0';
  }
}

}  // namespace ui
