#include "archive/shared_state.h"

#include <cstring>

namespace archive {

void CopyText(char* dest, int capacity, const char* text) {
  size_t n = strlen(text);
  if (n > static_cast<size_t>(capacity - 1)) n = static_cast<size_t>(capacity - 1);
  memcpy(dest, text, n);
  dest[n] = '\0';
}

void AppendText(char* dest, int capacity, const char* text) {
  size_t used = strlen(dest);
  CopyText(dest + used, capacity - static_cast<int>(used), text);
}

}  // namespace archive
