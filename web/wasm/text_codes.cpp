// Code page conversion in the browser: the worker's `kelvarinTexts`
// (web/text_codes.js) converts with the browser's own decoders
// (TextDecoder knows Shift-JIS as Windows writes it, Windows-1252 and
// UTF-8) and their inverse tables.
#include <emscripten.h>

#include <cstdlib>

#include "platform/text_codes.h"

namespace platform {
namespace {

// The converted bytes in memory from malloc (*out, *out_length), or false
// when the text does not convert whole.
EM_JS(bool, WebConvert, (uint32_t from, uint32_t to, const char* text, size_t length, char** out, size_t* out_length), {
  const converted = Module.kelvarinTexts.convert(from, to, HEAPU8.slice(text, text + length));
  if (converted === null) return false;
  const memory = _malloc(converted.length + 1);
  HEAPU8.set(converted, memory);
  HEAPU32[out >> 2] = memory;
  HEAPU32[out_length >> 2] = converted.length;
  return true;
});
EM_JS(bool, WebKnows, (uint32_t code_page), { return Module.kelvarinTexts.knows(code_page); });

}  // namespace

uint32_t SystemCodePage() { return 0; }

bool CodePageAvailable(uint32_t code_page) { return WebKnows(code_page); }

bool ConvertText(uint32_t from, uint32_t to, const std::string& text, std::string* out) {
  char* converted = nullptr;
  size_t length = 0;
  if (!WebConvert(from, to, text.data(), text.size(), &converted, &length)) return false;
  out->assign(converted, length);
  free(converted);
  return true;
}

}  // namespace platform
