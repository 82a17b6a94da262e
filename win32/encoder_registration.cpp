#include "win32/encoder_registration.h"

#include <windows.h>
#include <cstring>

#include "base/bounded_text.h"
#include "ui/encoder_info_text.h"
#include "win32/registry_key.h"

namespace win32 {
namespace {

constexpr int kKeyCapacity = 32;

// The serial's key below the settings key.
void SerialKey(char* out, const char* serial_text) {
  base::CopyText(out, kKeyCapacity, "decode\\");
  base::AppendText(out, kKeyCapacity, serial_text);
}

}  // namespace

void LoadEncoderRegistration(const char* serial_text, char* name, uint32_t* count) {
  name[0] = '\0';
  *count = 0;
  char path[kKeyCapacity];
  SerialKey(path, serial_text);
  const RegistryKey key = RegistryKey::OpenSettings(path, KEY_READ);
  if (!key) return;

  DWORD size = ui::kEncoderNameCapacity;
  if (RegQueryValueExA(key.get(), "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(name), &size) == ERROR_SUCCESS) {
    // Stored without a terminator, a full-length name would run on.
    name[size < ui::kEncoderNameCapacity ? size : ui::kEncoderNameCapacity - 1] = '\0';
  } else {
    name[0] = '\0';
  }
  DWORD value = 0;
  size = sizeof value;
  if (RegQueryValueExA(key.get(), "Count", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS) {
    *count = value;
  }
}

void StoreEncoderRegistration(const char* serial_text, const char* name, uint32_t count) {
  char path[kKeyCapacity];
  SerialKey(path, serial_text);
  const RegistryKey key = RegistryKey::CreateSettings(path);
  if (!key) return;
  RegSetValueExA(key.get(), "Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(name),
                 static_cast<DWORD>(strlen(name) + 1));
  const DWORD value = count;
  RegSetValueExA(key.get(), "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

}  // namespace win32
