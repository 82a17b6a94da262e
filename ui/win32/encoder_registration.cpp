#include "ui/win32/encoder_registration.h"

#include <windows.h>

#include <cstring>

#include "archive/shared_state.h"
#include "ui/encoder_info_text.h"

namespace ui {
namespace {

constexpr char kDecodeKey[] = "By Mobrae\\kelvarin\\decode\\";
constexpr int kKeyCapacity = 64;

void KeyPath(char* out, const char* prefix, const char* serial_text) {
  archive::CopyText(out, kKeyCapacity, prefix);
  archive::AppendText(out, kKeyCapacity, kDecodeKey);
  archive::AppendText(out, kKeyCapacity, serial_text);
}

}  // namespace

void LoadEncoderRegistration(const char* serial_text, char* name, uint32_t* count) {
  name[0] = '\0';
  *count = 0;
  char path[kKeyCapacity];
  KeyPath(path, "Software\\", serial_text);
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return;

  DWORD size = kEncoderNameCapacity;
  if (RegQueryValueExA(key, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(name), &size) == ERROR_SUCCESS) {
    // Stored without a terminator, a full-length name would run on.
    name[size < kEncoderNameCapacity ? size : kEncoderNameCapacity - 1] = '\0';
  } else {
    name[0] = '\0';
  }
  DWORD value = 0;
  size = sizeof value;
  if (RegQueryValueExA(key, "Count", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS) {
    *count = value;
  }
  RegCloseKey(key);
}

void StoreEncoderRegistration(const char* serial_text, const char* name, uint32_t count) {
  HKEY software;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_WRITE, &software) != ERROR_SUCCESS) return;
  char subkey[kKeyCapacity];
  KeyPath(subkey, "", serial_text);
  HKEY key;
  DWORD disposition;
  if (RegCreateKeyExA(software, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition) ==
      ERROR_SUCCESS) {
    RegSetValueExA(key, "Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(name), static_cast<DWORD>(strlen(name) + 1));
    DWORD value = count;
    RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
  }
  RegCloseKey(software);
}

}  // namespace ui
