#include "cli/texts/text_encoding.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "base/lead_bytes.h"
#include "base/utf8.h"
#include "platform/text_codes.h"

namespace cli {
namespace {

std::string Upper(const char* text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return upper;
}

// The code page number after a prefix such as "CP", or 0.
uint32_t NumberAfter(const std::string& text, const std::string& prefix) {
  if (text.size() <= prefix.size() || text.compare(0, prefix.size(), prefix) != 0) return 0;
  const std::string digits = text.substr(prefix.size());
  if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 5) return 0;
  return static_cast<uint32_t>(strtoul(digits.c_str(), nullptr, 10));
}

void AppendEscaped(std::string& out, unsigned char byte) {
  char escape[5];
  snprintf(escape, sizeof escape, "\\x%02x", byte);
  out += escape;
}

}  // namespace

bool ParseEncoding(const char* text, Encoding* encoding) {
  const std::string name = Upper(text);
  uint32_t code_page = 0;
  if (name == "AUTO") {
    encoding->code_page = 0;
    return true;
  }
  if (name == "UTF-8" || name == "UTF8") code_page = platform::kUtf8CodePage;
  else if (name == "SHIFT_JIS" || name == "SJIS" || name == "WINDOWS-31J") code_page = base::kCodePageShiftJis;
  else code_page = name.rfind("CP", 0) == 0 ? NumberAfter(name, "CP") : NumberAfter(name, "WINDOWS-");
  if (code_page == 0 || !platform::CodePageAvailable(code_page)) return false;
  encoding->code_page = code_page;
  return true;
}

std::string CodePageName(uint32_t code_page) {
  return code_page == platform::kUtf8CodePage ? "UTF-8" : "CP" + std::to_string(code_page);
}

uint32_t ChooseWritingCodePage(const std::vector<std::string>& names, size_t* misfit) {
  std::string unused;
  for (uint32_t code_page : {base::kCodePageWestern, base::kCodePageShiftJis}) {
    size_t i = 0;
    while (i < names.size() && Utf8ToStored(code_page, names[i], &unused)) ++i;
    if (i == names.size()) return code_page;
    if (code_page == base::kCodePageShiftJis) *misfit = i;
  }
  return 0;
}

bool StoredToUtf8(uint32_t code_page, const std::string& stored, std::string* utf8) {
  return platform::ConvertText(code_page, platform::kUtf8CodePage, stored, utf8);
}

bool Utf8ToStored(uint32_t code_page, const std::string& utf8, std::string* stored) {
  return platform::ConvertText(platform::kUtf8CodePage, code_page, utf8, stored);
}

std::string DisplayStored(uint32_t code_page, const std::string& stored) {
  std::string utf8;
  if (StoredToUtf8(code_page, stored, &utf8)) return Printable(utf8);
  std::string out;  // no text of the code page: every byte that is not ASCII escaped
  for (unsigned char byte : stored) {
    if (byte >= 0x80) AppendEscaped(out, byte);
    else out += Printable(std::string(1, static_cast<char>(byte)));
  }
  return out;
}

std::string Printable(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    const size_t length =
        base::Utf8SequenceLength(reinterpret_cast<const unsigned char*>(text.data()) + i, text.size() - i);
    // C1 controls (U+0080-U+009F) act on terminals as C0 ones do.
    const bool c1 = length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
    if (length == 0 || byte < 0x20 || byte == 0x7F || c1) {
      const size_t count = c1 ? 2 : 1;
      for (size_t k = 0; k < count; ++k) AppendEscaped(out, static_cast<unsigned char>(text[i + k]));
      i += count;
      continue;
    }
    out.append(text, i, length);
    i += length;
  }
  return out;
}

}  // namespace cli
