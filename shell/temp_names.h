// Names of the temporary files. The platform hands out unique names ending
// in ".tmp"; the copies must end in ".exe" to be startable, and batch
// files in ".bat".
#pragma once

namespace shell {

// Searches name backwards from its last character down to its second for
// a '.', cuts the name there and appends the extension (".exe", ".bat").
// A name without a dot in that range stays unchanged; the result is cut to
// fit capacity. True when the name now ends in the whole extension.
bool ReplaceExtension(char* name, int capacity, const char* extension);

}  // namespace shell
