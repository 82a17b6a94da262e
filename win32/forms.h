// The work of each command-line form, as the entry point hands it over.
#pragma once

#include "archive/shared_state.h"

namespace win32 {

// Extraction form: copies the stub out and starts it. 1 on success.
int ExtractStub();
// Check form: the check walk without a dialog.
void RunCheckForm(archive::SharedState& state);
// Dialog form: the password dialog and its message loop.
void RunDialogForm(archive::SharedState& state);
// After the dialog and check forms: hands the deletion of this program's
// file to a clean-up copy.
void CleanupRelaunch();
// Clean-up form: waits for the process behind the handle, deletes path.
void RunCleanupForm(const char* handle_text, const char* path);

}  // namespace win32
