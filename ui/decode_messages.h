// The words and titles of the decode run's failures.
#pragma once

#include "archive/shared_state.h"
#include "decode/decode_walk.h"
#include "ui/texts.h"

namespace ui {

const char* DecodeFailureText(decode::DecodeFailure failure, Language language);
// The caption of the entry, but the archive path for read failures and
// "Warning!" for a checksum that differs.
const char* DecodeFailureTitle(decode::DecodeFailure failure, const archive::SharedState& state,
                               Language language);

}  // namespace ui
