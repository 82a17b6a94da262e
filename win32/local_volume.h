// The volume serial of the drive that holds this computer's Windows folder:
// an entry whose encoder serial equals it was encoded on this computer.
#pragma once

#include <cstdint>

namespace win32 {

// False when the serial cannot be had. Any 32-bit value may be a record's
// serial, so an unknown serial must match none rather than stand in as a
// made-up value.
bool LocalVolumeSerial(uint32_t* serial);

}  // namespace win32
