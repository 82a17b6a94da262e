#include "cli/sinks/stdout_sink.h"

#include <cstdio>

#include "cli/texts/messages.h"
#include "platform/console.h"

namespace cli {

StdoutSink::StdoutSink(const archive::SharedState& state, uint32_t code_page, EntrySelection& selection, bool quiet)
    : SelectingSink(selection, state, code_page, quiet) {
  platform::SetBinaryOutput();
}

uint32_t StdoutSink::WriteOutput(const unsigned char* bytes, uint32_t count) {
  if (!selected_) return count;
  if (fwrite(bytes, 1, count, stdout) == count) return count;
  OutputProblemEndsRun("standard output", "cannot write: " + SystemReason());
  return 0;
}

void StdoutSink::FinishOutput(const char*, const archive::FileRecord&) {
  EntryDone();
  if (selected_ && fflush(stdout) != 0) OutputProblem("standard output", "cannot write: " + SystemReason());
}

}  // namespace cli
