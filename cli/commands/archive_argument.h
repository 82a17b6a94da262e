// The archive named on the command line, located the way the decoder
// locates it. Refused, with a message that names it, when it is no
// regular file (a FIFO, a device, a folder, a loop of links: said so),
// when it cannot be opened (with the system's reason), when its path does not fit the path
// buffer, and with "This is not Kelvarin file." when no entry header is
// found.
#pragma once

#include "archive/shared_state.h"

namespace cli {

bool LocateArchive(const char* path, archive::SharedState* state);

}  // namespace cli
