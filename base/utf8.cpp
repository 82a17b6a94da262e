#include "base/utf8.h"

namespace base {

size_t Utf8SequenceLength(const unsigned char* text, size_t available, uint32_t* code) {
  if (available == 0) return 0;
  const unsigned char lead = text[0];
  size_t length;
  uint32_t lowest;
  if (lead < 0x80) {
    length = 1, lowest = 0;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, lowest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, lowest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, lowest = 0x10000;
  } else {
    return 0;
  }
  if (length > available) return 0;
  uint32_t value = length == 1 ? lead : lead & (0x7Fu >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((text[i] & 0xC0) != 0x80) return 0;
    value = value << 6 | (text[i] & 0x3Fu);
  }
  if (value < lowest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  if (code) *code = value;
  return length;
}

bool IsUtf8(const std::string& text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  for (size_t i = 0; i < text.size();) {
    const size_t length = Utf8SequenceLength(bytes + i, text.size() - i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

bool IsAscii(const std::string& text) {
  for (unsigned char byte : text)
    if (byte >= 0x80) return false;
  return true;
}

}  // namespace base
