// The local date and time of an encoding time, in this computer's time zone.
#pragma once

#include <cstdint>

#include "ui/encoder_info_text.h"

namespace win32 {

// False when the seconds have no date (2^31 or more) or the conversion fails.
bool EncodingLocalTime(uint32_t seconds_since_1970, ui::LocalTime* out);

}  // namespace win32
