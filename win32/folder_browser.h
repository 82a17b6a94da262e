// The folder browser that asks where the entries stored under a relative
// path go.
#pragma once

#include <windows.h>

namespace win32 {

// Opens the browser, owned by `owner` and titled `title`, at the folder
// that `folder` names, and puts the chosen folder there (empty when the
// choice is no file-system folder). False when the user cancelled.
// `folder` holds base::kPathCapacity characters.
bool BrowseForFolder(HWND owner, const char* title, char* folder);

}  // namespace win32
