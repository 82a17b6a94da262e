// The words of the encoder information dialog, built from what the dialog
// learnt: who encoded the entry, when, and how often archives from that
// encoder were decoded here. Pure formatting: the platform supplies the
// local time, the registry values and the local volume serial.
#pragma once

#include <cstdint>

#include "ui/texts.h"

namespace ui {

constexpr int kSerialTextCapacity = 9;     // eight hex digits and a NUL
constexpr int kEncoderNameCapacity = 128;  // terminator included
constexpr int kTimeTextCapacity = 25;      // "Www Mmm DD hh:mm:ss YYYY" and a NUL
constexpr int kInfoTextCapacity = 512;     // enough for the longest name in either language

// A local date and time as the platform breaks it down.
struct LocalTime {
  int year;
  int month;    // 1 to 12
  int day;      // 1 to 31
  int weekday;  // 0 Sunday to 6 Saturday
  int hour;
  int minute;
  int second;
};

// Encoding times of 2^31 seconds or more read as negative counts on the
// encoder's side and have no date; they are shown as unknown.
inline bool HasDate(uint32_t encoding_time) { return encoding_time < 0x80000000u; }

// "%08X": eight upper-case hexadecimal digits.
void FormatSerialText(uint32_t serial, char* out);
// "Www Mmm DD hh:mm:ss YYYY", the day zero-padded. Always 24 characters:
// a weekday or month out of range prints as "???".
void FormatTimeText(const LocalTime& time, char* out);

// The count to store when the dialog closes: one more, but a count that
// has reached the top stays there instead of starting again at "1st".
inline uint32_t NextDecodeCount(uint32_t stored) { return stored == 0xFFFFFFFFu ? stored : stored + 1; }

// What the information text is made of.
struct EncoderInfo {
  const char* serial_text;
  const char* encoder_name;  // empty when none was registered
  bool this_computer;
  const LocalTime* encoded_at;  // null when the encoding time has no date
  uint32_t decode_count;        // as stored, before this decode
};

// The last line: "1st try to decode." for a count of 0, otherwise the
// "%dth" form with the count plus one (written without a sign, so that
// no count shows as negative or as 0).
void FormatTryText(uint32_t decode_count, Language language, char* out, int capacity);

// The whole information text, lines ended by CR LF.
void BuildEncoderInfoText(const EncoderInfo& info, Language language, char* out, int capacity);

}  // namespace ui
