#include "win32/registry_key.h"

namespace win32 {

RegistryKey RegistryKey::Open(const char* path, REGSAM access) {
  HKEY key;
  return RegistryKey(RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, access, &key) == ERROR_SUCCESS ? key : nullptr);
}

RegistryKey RegistryKey::OpenOrCreateBelowSoftware(const char* subkey) {
  const RegistryKey software = Open("Software", KEY_WRITE);
  if (!software) return RegistryKey(nullptr);
  HKEY key;
  DWORD disposition;
  return RegistryKey(RegCreateKeyExA(software.get(), subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                     &disposition) == ERROR_SUCCESS
                         ? key
                         : nullptr);
}

}  // namespace win32
