// Forms whose work is not built yet. Each does nothing and reports
// failure where a result is expected, so that the program stays honest:
// the extraction form shows its failure message, the others end quietly.
#include "shell/win32/forms.h"

namespace shell {

int ExtractStub() { return 0; }
void CleanupRelaunch() {}
void RunCleanupForm(const char*, const char*) {}

}  // namespace shell
