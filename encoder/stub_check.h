// What may stand in front of an archive as its decoder stub. The archive
// is a Windows program, so the stub must be one: a PE file ("MZ", and
// "PE\0\0" where the DOS header points). And the decoder finds the check
// block and the first entry header as the first 256-byte blocks that begin
// with their markers and a NUL, so no block of the stub may begin so, or
// the archive would be read from inside its stub.
#pragma once

#include <cstddef>

#include "encoder/bytes.h"

namespace encoder {

enum class StubProblem { kNone, kNotWindowsProgram, kHoldsCheckMarker, kHoldsEntryMarker };

// The first problem of the stub; for a marker, the offset of its block.
StubProblem CheckStub(const Bytes& stub, size_t* offset);
const char* StubProblemText(StubProblem problem);

}  // namespace encoder
