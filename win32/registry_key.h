// A key of the program's settings in the current user's registry that
// closes itself. Writers open "Software" and create their key below it;
// readers only open.
#pragma once

#include <windows.h>

namespace win32 {

class RegistryKey {
 public:
  // Opens the program's settings key, or the key `below` it (a path such
  // as "decode\\0000002A"; empty for the settings key itself). An invalid
  // key when that fails.
  static RegistryKey OpenSettings(const char* below, REGSAM access);
  // Opens HKEY_CURRENT_USER\Software for writing and opens or creates the
  // settings key, or the key `below` it, with full access.
  static RegistryKey CreateSettings(const char* below);

  RegistryKey(RegistryKey&& other) : key_(other.key_) { other.key_ = nullptr; }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey() {
    if (key_) RegCloseKey(key_);
  }

  explicit operator bool() const { return key_ != nullptr; }
  HKEY get() const { return key_; }

 private:
  explicit RegistryKey(HKEY key) : key_(key) {}
  static RegistryKey Open(HKEY parent, const char* path, REGSAM access);
  HKEY key_;
};

}  // namespace win32
