// The decode sink of `kelvarin extract --stdout`: the bytes of the
// selected entries straight to standard output, in archive order, for a
// pipe or a redirection. Nothing is written to disk; the other entries are
// decoded all the same, so that the archive is still checked whole.
#pragma once

#include "cli/sinks/entry_selection.h"
#include "cli/sinks/terminal_sink.h"
#include "decode/writes_nothing.h"

namespace cli {

class StdoutSink : public decode::WritesNothing<TerminalSink> {
 public:
  StdoutSink(const archive::SharedState& state, uint32_t code_page, EntrySelection& selection, bool quiet);

  void OnOutputName(const archive::FileRecord& record) override;
  uint32_t WriteOutput(const unsigned char* bytes, uint32_t count) override;
  void FinishOutput(const char*, const archive::FileRecord&) override;
  // An entry the NAMEs leave out is no loss when its name cannot be used.
  void OnEntryRefused(const archive::FileRecord& record, decode::NameProblem problem) override {
    if (selected_) TerminalSink::OnEntryRefused(record, problem);
  }
  void OnRefusedEntryEnd(const archive::FileRecord&) override { EntryDone(); }

 private:
  EntrySelection& selection_;
  bool selected_ = false;
};

}  // namespace cli
