// The name and decode count registered for an encoder serial, one key per
// serial below "decode" in the program's settings key.
// Failures are silent: nothing read leaves the name empty and the count 0;
// a key that cannot be written stores nothing.
#pragma once

#include <cstdint>

namespace win32 {

// name: kEncoderNameCapacity bytes, always terminated.
void LoadEncoderRegistration(const char* serial_text, char* name, uint32_t* count);
void StoreEncoderRegistration(const char* serial_text, const char* name, uint32_t count);

}  // namespace win32
