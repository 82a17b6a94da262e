#include "platform/win32/wide/wide_text.h"

namespace platform {

bool ToWide(UINT code_page, const char* text, size_t length, std::wstring* wide) {
  wide->clear();
  if (length == 0) return true;
  const int count = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, text, static_cast<int>(length), nullptr, 0);
  if (count <= 0) return false;
  wide->resize(static_cast<size_t>(count));
  return MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, text, static_cast<int>(length), wide->data(), count) ==
         count;
}

bool FromWide(UINT code_page, const wchar_t* wide, size_t length, std::string* text) {
  text->clear();
  if (length == 0) return true;
  const bool utf8 = code_page == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL defaulted = FALSE;
  BOOL* defaulted_out = utf8 ? nullptr : &defaulted;
  const int count = WideCharToMultiByte(code_page, flags, wide, static_cast<int>(length), nullptr, 0, nullptr,
                                        defaulted_out);
  if (count <= 0 || defaulted) return false;
  text->resize(static_cast<size_t>(count));
  return WideCharToMultiByte(code_page, flags, wide, static_cast<int>(length), text->data(), count, nullptr,
                             defaulted_out) == count &&
         !defaulted;
}

}  // namespace platform
