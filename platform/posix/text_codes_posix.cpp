// Code page conversion through the C library's iconv, which knows the
// Windows code pages by the names CP932, CP1252 and the like; upper case
// from its UTF-8 locale's tables.
#include <iconv.h>
#include <locale.h>
#include <wctype.h>
#include <cerrno>
#include <climits>
#include <cwchar>

#include "platform/text_codes.h"

namespace platform {
namespace {

std::string IconvName(uint32_t code_page) {
  return code_page == kUtf8CodePage ? "UTF-8" : "CP" + std::to_string(code_page);
}

class Converter {
 public:
  Converter(uint32_t from, uint32_t to) : cd_(iconv_open(IconvName(to).c_str(), IconvName(from).c_str())) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  bool Convert(const std::string& text, std::string* out) {
    out->clear();
    char* in = const_cast<char*>(text.data());
    size_t in_left = text.size();
    char buffer[256];
    for (;;) {
      char* next = buffer;
      size_t out_left = sizeof buffer;
      // The final call with no input flushes any shift state.
      const size_t result = in_left ? iconv(cd_, &in, &in_left, &next, &out_left)
                                    : iconv(cd_, nullptr, nullptr, &next, &out_left);
      out->append(buffer, static_cast<size_t>(next - buffer));
      if (result != static_cast<size_t>(-1)) {
        if (in_left == 0 && next == buffer) return true;
        continue;
      }
      if (errno != E2BIG) return false;  // EILSEQ, or EINVAL for a cut character
    }
  }

 private:
  iconv_t cd_;
};

}  // namespace

uint32_t SystemCodePage() { return 0; }

bool CodePageAvailable(uint32_t code_page) { return Converter(code_page, kUtf8CodePage).ok(); }

bool ConvertText(uint32_t from, uint32_t to, const std::string& text, std::string* out) {
  Converter converter(from, to);
  return converter.ok() && converter.Convert(text, out);
}

bool UpperCase(const std::string& text, std::string* upper) {
  static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
  if (!utf8) return false;
  // mbrtowc and wcrtomb read the thread's locale: UTF-8 for this call only.
  const locale_t previous = uselocale(utf8);
  upper->clear();
  mbstate_t in{}, out{};
  size_t i = 0;
  while (i < text.size()) {
    wchar_t c;
    const size_t used = mbrtowc(&c, text.data() + i, text.size() - i, &in);
    if (used == 0 || used > text.size() - i) break;  // a NUL, or no UTF-8 here
    char bytes[MB_LEN_MAX];
    const size_t made = wcrtomb(bytes, static_cast<wchar_t>(towupper_l(static_cast<wint_t>(c), utf8)), &out);
    if (made == static_cast<size_t>(-1)) break;
    upper->append(bytes, made);
    i += used;
  }
  uselocale(previous);
  return i == text.size();
}

}  // namespace platform
