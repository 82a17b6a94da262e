#include "ui/encoder_info_text.h"

#include <cstring>

#include "base/bounded_text.h"
#include "base/wide_division.h"

namespace ui {
namespace {

constexpr char kDayNames[] = "SunMonTueWedThuFriSat";
constexpr char kMonthNames[] = "JanFebMarAprMayJunJulAugSepOctNovDec";

// Writes the low `digits` decimal digits of value, zero-padded.
char* WriteDigits(char* out, unsigned value, int digits) {
  for (int i = digits - 1; i >= 0; --i) {
    out[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  return out + digits;
}

char* WriteName(char* out, const char* names, int index, int count) {
  const char* name = index >= 0 && index < count ? names + 3 * index : "???";
  for (int i = 0; i < 3; ++i) *out++ = name[i];
  return out;
}

// Copies pattern into out with its "%d" replaced by number, unsigned.
void FillNumber(const char* pattern, uint64_t number, char* out, int capacity) {
  char digits[21];
  char* end = digits + sizeof digits - 1;
  char* first = end;
  *end = '\0';
  do {
    const base::Division step = base::Divide(number, 10);
    *--first = static_cast<char>('0' + step.remainder);
    number = step.quotient;
  } while (number != 0);

  const char* mark = strstr(pattern, "%d");
  if (!mark) {
    base::CopyText(out, capacity, pattern);
    return;
  }
  const int prefix = static_cast<int>(mark - pattern);
  base::CopyText(out, prefix + 1 < capacity ? prefix + 1 : capacity, pattern);
  base::AppendText(out, capacity, first);
  base::AppendText(out, capacity, mark + 2);
}

}  // namespace

void FormatSerialText(uint32_t serial, char* out) {
  constexpr char kHex[] = "0123456789ABCDEF";
  for (int i = 7; i >= 0; --i) {
    out[i] = kHex[serial & 0xF];
    serial >>= 4;
  }
  out[8] = '\0';
}

void FormatTimeText(const LocalTime& time, char* out) {
  char* p = WriteName(out, kDayNames, time.weekday, 7);
  *p++ = ' ';
  p = WriteName(p, kMonthNames, time.month - 1, 12);
  *p++ = ' ';
  p = WriteDigits(p, static_cast<unsigned>(time.day), 2);
  *p++ = ' ';
  p = WriteDigits(p, static_cast<unsigned>(time.hour), 2);
  *p++ = ':';
  p = WriteDigits(p, static_cast<unsigned>(time.minute), 2);
  *p++ = ':';
  p = WriteDigits(p, static_cast<unsigned>(time.second), 2);
  *p++ = ' ';
  p = WriteDigits(p, static_cast<unsigned>(time.year), 4);
  *p = '\0';
}

void FormatTryText(uint32_t decode_count, Language language, char* out, int capacity) {
  if (decode_count == 0) {
    base::CopyText(out, capacity, Text(TextId::kInfoFirstTry, language));
    return;
  }
  FillNumber(Text(TextId::kInfoNthTry, language), uint64_t{decode_count} + 1, out, capacity);
}

void BuildEncoderInfoText(const EncoderInfo& info, Language language, char* out, int capacity) {
  base::CopyText(out, capacity, Text(TextId::kInfoEncodedBy, language));
  base::AppendText(out, capacity, "--");
  base::AppendText(out, capacity, info.serial_text);
  base::AppendText(out, capacity, "--\r\n");
  base::AppendText(out, capacity,
                      info.this_computer ? Text(TextId::kInfoThisComputer, language) : info.encoder_name);
  base::AppendText(out, capacity, Text(TextId::kInfoAfterName, language));

  char when[kTimeTextCapacity];
  if (info.encoded_at) {
    FormatTimeText(*info.encoded_at, when);
    base::AppendText(out, capacity, when);
  } else {
    base::AppendText(out, capacity, Text(TextId::kInfoUnknownDate, language));
  }
  base::AppendText(out, capacity, Text(TextId::kInfoCreatedAt, language));

  char tries[64];
  FormatTryText(info.decode_count, language, tries, sizeof tries);
  base::AppendText(out, capacity, tries);
}

}  // namespace ui
