// The root of the drive that holds a folder, found as the folder text cut
// right after its last backslash ("C:\WINDOWS" gives "C:\"). The search is
// multi-byte aware: in Shift-JIS the second byte of a character such as
// 0x83 0x5C is no backslash.
#pragma once

namespace ui {

using LeadBytePredicate = bool (*)(unsigned char byte);

// Cuts folder (a NUL-terminated text in a buffer of capacity bytes) after
// its last backslash, or appends one when it has none and there is room.
void CutToVolumeRoot(char* folder, int capacity, LeadBytePredicate is_lead_byte);

}  // namespace ui
