// The decode sink of `kelvarin extract --stdout`: the bytes of the
// selected entries straight to standard output, in archive order, for a
// pipe or a redirection. Nothing is written to disk; the other entries are
// decoded all the same, so that the archive is still checked whole.
#pragma once

#include "cli/sinks/selecting_sink.h"
#include "cli/sinks/terminal_sink.h"
#include "decode/writes_nothing.h"

namespace cli {

class StdoutSink : public SelectingSink<decode::WritesNothing<TerminalSink>> {
 public:
  StdoutSink(const archive::SharedState& state, uint32_t code_page, EntrySelection& selection, bool quiet);

  uint32_t WriteOutput(const unsigned char* bytes, uint32_t count) override;
  void FinishOutput(const char*, const archive::FileRecord&) override;
};

}  // namespace cli
