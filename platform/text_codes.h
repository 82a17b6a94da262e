// Texts between code pages: names, captions and passwords are stored in
// the code page of the system that wrote the archive, and read elsewhere
// in UTF-8. Code pages are named by
// their Windows numbers (932 Shift-JIS, 1252 Western, 65001 UTF-8).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

constexpr uint32_t kUtf8CodePage = 65001;

// The ANSI code page of the system, in which Windows programs write
// names; 0 where there is none (not Windows).
uint32_t SystemCodePage();
// True when the system can convert between the code page and UTF-8.
bool CodePageAvailable(uint32_t code_page);
// Converts text from one code page to the other, whole: false when it
// holds bytes that are no character of `from`, or a character that `to`
// cannot hold.
bool ConvertText(uint32_t from, uint32_t to, const std::string& text, std::string* out);
// A UTF-8 text with every letter made upper case, as Windows compares
// file names; false when text is not UTF-8 or the system cannot say.
bool UpperCase(const std::string& text, std::string* upper);

}  // namespace platform
