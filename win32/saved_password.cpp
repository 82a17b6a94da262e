#include "win32/saved_password.h"

#include "win32/registry_key.h"

namespace win32 {
namespace {
constexpr char kValueName[] = "DecodeAuto";
}  // namespace

bool LoadSavedPassword(char* text) {
  const RegistryKey key = RegistryKey::OpenSettings("", KEY_READ);
  if (!key) return false;
  DWORD size = kSavedPasswordMax;
  if (RegQueryValueExA(key.get(), kValueName, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) !=
      ERROR_SUCCESS)
    return false;
  text[size] = '\0';
  return true;
}

void StoreSavedPassword(const char* text, int length) {
  const RegistryKey key = RegistryKey::CreateSettings("");
  if (key) {
    RegSetValueExA(key.get(), kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(length));
  }
}

void DeleteSavedPassword() {
  const RegistryKey key = RegistryKey::OpenSettings("", KEY_WRITE);
  if (key) RegDeleteValueA(key.get(), kValueName);
}

}  // namespace win32
