#include "ui/win32/saved_password.h"

#include <windows.h>

namespace ui {
namespace {
constexpr char kKeyPath[] = "Software\\By Mobrae\\kelvarin";
constexpr char kValueName[] = "DecodeAuto";
}  // namespace

bool LoadSavedPassword(char* text) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD size = kSavedPasswordMax;
  bool ok = RegQueryValueExA(key, kValueName, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) ==
            ERROR_SUCCESS;
  if (ok) text[size] = '\0';
  RegCloseKey(key);
  return ok;
}

void StoreSavedPassword(const char* text, int length) {
  HKEY software;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_WRITE, &software) != ERROR_SUCCESS) return;
  HKEY key;
  DWORD disposition;
  if (RegCreateKeyExA(software, "By Mobrae\\kelvarin", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      &disposition) == ERROR_SUCCESS) {
    RegSetValueExA(key, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(length));
    RegCloseKey(key);
  }
  RegCloseKey(software);
}

void DeleteSavedPassword() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, KEY_WRITE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, kValueName);
  RegCloseKey(key);
}

}  // namespace ui
