// The words and titles of the decode run's failures, as both front ends
// show them.
#pragma once

#include "archive/shared_state.h"
#include "decode/decode_walk.h"
#include "ui/texts.h"

namespace decode {

const char* FailureText(DecodeFailure failure, ui::Language language);
// The same for the readers of archives away from the program, which say
// so where a wrong password explains a failure as well as damage does:
// a stream that breaks, a block too short, and an archive that ends
// early once a record was read (its sizes may be garbage).
const char* ReaderFailureText(DecodeFailure failure, ui::Language language, bool record_read);
// The caption of the entry, but the archive path for read failures and
// "Warning!" for a checksum that differs.
const char* FailureTitle(DecodeFailure failure, const archive::SharedState& state, ui::Language language);

}  // namespace decode
