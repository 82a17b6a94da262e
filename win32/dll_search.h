// Keeps the program from loading libraries planted beside it: the archive
// is typically started from a downloads folder that anyone can write to.
#pragma once

namespace win32 {

// Limits the library search to the system folder. Called first thing:
// every later load by name, ours or a system library's, obeys it.
void RestrictDllSearch();

}  // namespace win32
