// Names for the temporary files in the user's temporary folder: the decoder
// copy ("DEC", ".exe"), the clean-up copy ("Del", ".exe") and the deletion
// batch ("Del", ".bat").
#pragma once

namespace win32 {

// Writes a fresh name with the prefix and the extension into name (260
// characters). The platform's placeholder file is deleted at once. False
// when the platform makes no name or the extension does not fit; name is
// then not to be used.
bool MakeTempName(const char* prefix, const char* extension, char* name);

}  // namespace win32
