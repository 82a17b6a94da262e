// Copies the decoder stub out of a self-decoding archive: every 256-byte
// block in front of the check block, summing the stub's lane checksum on
// the way for comparison with the one the check block stores.
#pragma once

namespace shell {

enum class StubCopy {
  kOpenFailed,       // the archive cannot be opened: nothing written
  kCreateFailed,     // the copy cannot be created: nothing written
  kWriteFailed,      // a write failed or was short: the partial copy stays
  kNoCheckBlock,     // the file ended first: the copy is deleted again
  kChecksumMatches,  // the copy holds the stub, and the stub is intact
  kChecksumDiffers,  // the copy holds the stub, but the stub was changed
};

// True when the block's text up to its first NUL is the check marker; a
// block whose text goes on after the marker is not the check block.
bool IsCheckBlock(const unsigned char* block, unsigned length);

// Reads archive_path block by block and writes the stub to copy_path.
// A read shorter than a whole block ends the stub, as the end of the file
// does: a check block is always whole.
StubCopy CopyStub(const char* archive_path, const char* copy_path);

}  // namespace shell
