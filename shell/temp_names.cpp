#include "shell/temp_names.h"

#include <cstring>

#include "archive/shared_state.h"

namespace shell {

void ReplaceExtensionWithExe(char* name, int capacity) {
  // The first character is never looked at: a lone leading dot is a name.
  for (size_t i = strlen(name); i-- > 1;) {
    if (name[i] == '.') {
      name[i] = '\0';
      archive::AppendText(name, capacity, ".exe");
      return;
    }
  }
}

}  // namespace shell
