#include "win32/local_time.h"

#include <windows.h>

#include "platform/file_time.h"

namespace win32 {

// SystemTimeToTzSpecificLocalTime applies the zone's rule for the date in
// question, so a summer date converts with the summer offset whatever the
// season now; FileTimeToLocalFileTime would apply today's offset.
bool EncodingLocalTime(uint32_t seconds_since_1970, ui::LocalTime* out) {
  if (!ui::HasDate(seconds_since_1970)) return false;
  ULARGE_INTEGER ticks;
  ticks.QuadPart = platform::UnixToFiletime(seconds_since_1970, 0);
  FILETIME utc{ticks.LowPart, ticks.HighPart};
  SYSTEMTIME utc_parts, local;
  if (!FileTimeToSystemTime(&utc, &utc_parts) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc_parts, &local)) {
    return false;
  }
  *out = ui::LocalTime{local.wYear, local.wMonth, local.wDay, local.wDayOfWeek, local.wHour, local.wMinute, local.wSecond};
  return true;
}

}  // namespace win32
