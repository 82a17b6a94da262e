#include "shell/temp_names.h"

#include <cstring>

#include "base/bounded_text.h"

namespace shell {

bool ReplaceExtension(char* name, int capacity, const char* extension) {
  // The first character is never looked at: a lone leading dot is a name.
  for (size_t i = strlen(name); i-- > 1;) {
    if (name[i] == '.') {
      name[i] = '\0';
      base::AppendText(name, capacity, extension);
      return strlen(name) == i + strlen(extension);
    }
  }
  return false;
}

}  // namespace shell
