// The code page of an archive's texts (names, caption, password) and how
// the tool turns them into UTF-8 and back. An archive stores its texts in
// the ANSI code page of the Windows that made it: Shift-JIS (932) on a
// Japanese system, Western (1252) on most others.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/text_codes.h"

namespace cli {

// What --encoding said: a code page, or "auto" (code_page 0). Without it,
// Windows' ANSI code page, as the decoder reads names there, and auto
// elsewhere; "auto" means auto everywhere.
struct Encoding {
  uint32_t code_page = platform::SystemCodePage();
  bool automatic() const { return code_page == 0; }
};

// Reads --encoding's value: "auto", "UTF-8", "CPnnn" or "WINDOWS-nnn",
// and "SHIFT_JIS", "SJIS" or "WINDOWS-31J" for 932, in any case. False
// for anything else, or a code page the system cannot convert.
bool ParseEncoding(const char* text, Encoding* encoding);
// "CP932", "UTF-8".
std::string CodePageName(uint32_t code_page);

// The auto rule for writing one, over the UTF-8 names: CP1252 when every
// name fits it, else CP932 when every name does; else 0, with the index
// of the first name that fits neither in *misfit.
uint32_t ChooseWritingCodePage(const std::vector<std::string>& names, size_t* misfit);

// A stored text in UTF-8; false when it is no text of the code page.
bool StoredToUtf8(uint32_t code_page, const std::string& stored, std::string* utf8);
// A UTF-8 text in the code page; false when the code page cannot hold it.
bool Utf8ToStored(uint32_t code_page, const std::string& utf8, std::string* stored);

// A stored text as a terminal may show it: in UTF-8 when it converts, and
// with every control character, and every byte that is not text, written
// as \xNN.
std::string DisplayStored(uint32_t code_page, const std::string& stored);
// The same escaping for a text that is meant to be UTF-8 already.
std::string Printable(const std::string& text);

}  // namespace cli
