// Names for the temporary programs, the decoder copy ("DEC") and the
// clean-up copy ("Del"), in the user's temporary folder.
#pragma once

namespace win32 {

// Writes a fresh name with the prefix and the extension ".exe" into name
// (260 characters). The platform's placeholder file is deleted at once.
// False when the platform makes no name; name is then not to be used.
bool MakeTempProgramName(const char* prefix, char* name);

}  // namespace win32
