// DecodeArchive: the decode walk as the password dialog runs it, with the
// dialog's controls, Save-As, the folder browser, the registry and the
// shell.
#pragma once

#include <windows.h>

#include "archive/shared_state.h"

namespace win32 {

// 1 when every entry was decoded, 0 otherwise. Reads the password edit,
// the Save Password box and the Suicide box of the dialog itself.
int DecodeArchive(HWND dialog, archive::SharedState& state);

}  // namespace win32
