// A key of the current user's registry that closes itself. Writers open
// "Software" and create their key below it; readers only open.
#pragma once

#include <windows.h>

namespace win32 {

class RegistryKey {
 public:
  // Opens HKEY_CURRENT_USER\path; an invalid key when that fails.
  static RegistryKey Open(const char* path, REGSAM access);
  // Opens HKEY_CURRENT_USER\Software for writing and opens or creates the
  // subkey below it with full access.
  static RegistryKey OpenOrCreateBelowSoftware(const char* subkey);

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
  HKEY key_;
};

}  // namespace win32
