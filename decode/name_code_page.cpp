#include "decode/name_code_page.h"

#include "base/lead_bytes.h"
#include "base/utf8.h"
#include "platform/text_codes.h"

namespace decode {

NameReading ChooseNameCodePage(const std::vector<std::string>& stored_texts) {
  bool all_ascii = true;
  bool all_shift_jis = true;
  bool double_byte = false;
  const base::LeadBytes lead = base::LeadBytes::OfCodePage(base::kCodePageShiftJis);
  std::string unused;
  for (const std::string& text : stored_texts) {
    if (base::IsAscii(text)) continue;
    all_ascii = false;
    all_shift_jis = all_shift_jis && platform::ConvertText(base::kCodePageShiftJis, platform::kUtf8CodePage, text, &unused);
    for (unsigned char byte : text) double_byte = double_byte || lead.IsLead(byte);
  }
  NameReading reading;
  if (!all_ascii) reading.code_page = all_shift_jis && double_byte ? base::kCodePageShiftJis : base::kCodePageWestern;
  return reading;
}

}  // namespace decode
