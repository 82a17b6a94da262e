// Texts between a code page and UTF-16, as Windows converts them itself:
// the one conversion of the wide seam. Bytes that are no text of the code
// page, and characters the code page lacks, fail instead of becoming
// replacement or best-fit characters.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

bool ToWide(UINT code_page, const char* text, size_t length, std::wstring* wide);
bool FromWide(UINT code_page, const wchar_t* wide, size_t length, std::string* text);

inline std::string Utf8FromWide(const wchar_t* wide, size_t length) {
  std::string text;
  return FromWide(CP_UTF8, wide, length, &text) ? text : std::string();
}

}  // namespace platform
