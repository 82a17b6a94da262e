// Code page conversion through UTF-16, as Windows converts texts itself;
// unknown bytes and characters the target lacks fail instead of becoming
// replacement or best-fit characters.
#include <windows.h>

#include "platform/text_codes.h"

namespace platform {
namespace {

bool ToWide(uint32_t code_page, const std::string& text, std::wstring* wide) {
  wide->clear();
  if (text.empty()) return true;
  const int length = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0);
  if (length <= 0) return false;
  wide->resize(static_cast<size_t>(length));
  return MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                             wide->data(), length) == length;
}

bool FromWide(uint32_t code_page, const std::wstring& wide, std::string* text) {
  text->clear();
  if (wide.empty()) return true;
  const bool utf8 = code_page == kUtf8CodePage;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL defaulted = FALSE;
  BOOL* defaulted_out = utf8 ? nullptr : &defaulted;
  const int length = WideCharToMultiByte(code_page, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, defaulted_out);
  if (length <= 0 || defaulted) return false;
  text->resize(static_cast<size_t>(length));
  return WideCharToMultiByte(code_page, flags, wide.data(), static_cast<int>(wide.size()), text->data(), length,
                             nullptr, defaulted_out) == length &&
         !defaulted;
}

}  // namespace

uint32_t SystemCodePage() { return GetACP(); }

bool CodePageAvailable(uint32_t code_page) { return IsValidCodePage(code_page) != 0; }

bool ConvertText(uint32_t from, uint32_t to, const std::string& text, std::string* out) {
  std::wstring wide;
  return ToWide(from, text, &wide) && FromWide(to, wide, out);
}

bool UpperCase(const std::string& text, std::string* upper) {
  std::wstring wide;
  if (!ToWide(CP_UTF8, text, &wide)) return false;
  // The invariant locale's letters, as the file system's table has them.
  if (!wide.empty() && LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, wide.data(), static_cast<int>(wide.size()),
                                    wide.data(), static_cast<int>(wide.size())) == 0) {
    return false;
  }
  return FromWide(CP_UTF8, wide, upper);
}

}  // namespace platform
