// A hook for the tests only: the decoder runs on one thread and never
// calls itself, so a call turned away by the busy flag cannot be made to
// happen otherwise.
#pragma once

namespace codec::testing_hooks {

void SetDecompressorBusy(bool busy);

}  // namespace codec::testing_hooks
