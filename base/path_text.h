// Cutting 8-bit path texts at their separators, one whole character at a
// time, so that the second byte of a double-byte character is never taken
// for a backslash.
#pragma once

#include <cstddef>

#include "base/lead_bytes.h"

namespace base {

// True when the last character of text is the separator (a trail byte
// that equals it is no separator).
bool EndsWithSeparator(const char* text, char separator, const LeadBytes& lead);

// The root of the drive that holds a folder, found as the folder text cut
// right after its last backslash ("C:\WINDOWS" gives "C:\"): cuts folder
// (a NUL-terminated text in a buffer of capacity bytes) there, or appends
// a backslash when it has none and there is room.
void CutToVolumeRoot(char* folder, int capacity, const LeadBytes& lead);

}  // namespace base
