// Names of the temporary programs. The platform hands out unique names
// ending in ".tmp"; the copies must end in ".exe" to be startable.
#pragma once

namespace shell {

// Searches name backwards from its last character down to its second for
// a '.', cuts the name there and appends ".exe". A name without a dot in
// that range stays unchanged; the result is cut to fit capacity.
void ReplaceExtensionWithExe(char* name, int capacity);

}  // namespace shell
