#include "win32/registry_key.h"

#include "base/bounded_text.h"
#include "win32/settings_key.h"

namespace win32 {
namespace {

constexpr size_t kPathCapacity = 96;

// The settings key's path, below HKEY_CURRENT_USER or (without the
// software key) below its software key, with `below` appended; false when
// it does not fit.
bool SettingsPath(bool with_software_key, const char* below, char* path) {
  base::BoundedText text(path, kPathCapacity);
  if (with_software_key) {
    text.Add(kSoftwareKey);
    text.Put('\\');
  }
  text.Add(kSettingsBelowSoftware);
  if (below[0] != '\0') {
    text.Put('\\');
    text.Add(below);
  }
  return text.fits();
}

}  // namespace

RegistryKey RegistryKey::Open(HKEY parent, const char* path, REGSAM access) {
  HKEY key;
  return RegistryKey(RegOpenKeyExA(parent, path, 0, access, &key) == ERROR_SUCCESS ? key : nullptr);
}

RegistryKey RegistryKey::OpenSettings(const char* below, REGSAM access) {
  char path[kPathCapacity];
  return SettingsPath(true, below, path) ? Open(HKEY_CURRENT_USER, path, access) : RegistryKey(nullptr);
}

RegistryKey RegistryKey::CreateSettings(const char* below) {
  char path[kPathCapacity];
  if (!SettingsPath(false, below, path)) return RegistryKey(nullptr);
  const RegistryKey software = Open(HKEY_CURRENT_USER, kSoftwareKey, KEY_WRITE);
  if (!software) return RegistryKey(nullptr);
  HKEY key;
  DWORD disposition;
  return RegistryKey(RegCreateKeyExA(software.get(), path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                     &disposition) == ERROR_SUCCESS
                         ? key
                         : nullptr);
}

}  // namespace win32
