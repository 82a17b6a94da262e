// The remembered password: the value DecodeAuto of the program's settings
// key, text without a terminating NUL. Every
// registry failure is silent.
#pragma once

namespace win32 {

constexpr int kSavedPasswordMax = 4096;

// Fills text (kSavedPasswordMax + 1 bytes) and returns true when a value
// was read; a value of kSavedPasswordMax bytes is kept whole.
bool LoadSavedPassword(char* text);
void StoreSavedPassword(const char* text, int length);
void DeleteSavedPassword();

}  // namespace win32
