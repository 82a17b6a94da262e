// The password dialog: the archive's caption and icon, the password, the
// Save Password and Suicide choices, and OK running the check (fewer than
// four bytes) or the decode. It ends the message loop by posting quit.
#pragma once

#include <windows.h>

#include "archive/shared_state.h"

namespace win32 {

// Creates the dialog hidden and modeless, owned by the desktop window;
// its initialisation shows it. Null when it cannot be created.
HWND CreatePasswordDialog(archive::SharedState& state);

}  // namespace win32
