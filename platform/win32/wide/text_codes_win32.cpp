// Code page conversion through UTF-16 (wide_text.h).
#include <windows.h>

#include "platform/text_codes.h"
#include "platform/win32/wide/wide_text.h"

namespace platform {
uint32_t SystemCodePage() { return GetACP(); }

bool CodePageAvailable(uint32_t code_page) { return IsValidCodePage(code_page) != 0; }

bool ConvertText(uint32_t from, uint32_t to, const std::string& text, std::string* out) {
  std::wstring wide;
  return ToWide(from, text.data(), text.size(), &wide) && FromWide(to, wide.data(), wide.size(), out);
}

bool UpperCase(const std::string& text, std::string* upper) {
  std::wstring wide;
  if (!ToWide(CP_UTF8, text.data(), text.size(), &wide)) return false;
  // The invariant locale's letters, as the file system's table has them.
  if (!wide.empty() && LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, wide.data(), static_cast<int>(wide.size()),
                                    wide.data(), static_cast<int>(wide.size())) == 0) {
    return false;
  }
  return FromWide(CP_UTF8, wide.data(), wide.size(), upper);
}

}  // namespace platform
