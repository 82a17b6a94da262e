#include "base/lead_bytes.h"

namespace base {

LeadBytes LeadBytes::OfCodePage(uint32_t code_page) {
  LeadBytes lead;
  switch (code_page) {
    case 932:  // Shift-JIS
      lead.Add(0x81, 0x9F);
      lead.Add(0xE0, 0xFC);
      break;
    case 936:  // GBK
    case 949:  // Unified Hangul
    case 950:  // Big5
      lead.Add(0x81, 0xFE);
      break;
    case 1361:  // Johab
      lead.Add(0x84, 0xD3);
      lead.Add(0xD8, 0xDE);
      lead.Add(0xE0, 0xF9);
      break;
    default:
      break;
  }
  return lead;
}

bool LeadBytes::Any() const {
  for (uint32_t word : bits_)
    if (word) return true;
  return false;
}

void LeadBytes::Add(unsigned char first, unsigned char last) {
  for (unsigned byte = first; byte <= last; ++byte) bits_[byte >> 5] |= 1u << (byte & 31);
}

}  // namespace base
