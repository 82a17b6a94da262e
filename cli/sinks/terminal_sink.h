// What extract and list share as decode sinks: progress on a terminal, the
// archive's verdicts in the program's English words naming the archive and
// the entry, skipped bytes, and the exit status all of it adds up to.
#pragma once

#include <cstdint>
#include <string>

#include "archive/shared_state.h"
#include "cli/commands/commands.h"
#include "cli/texts/progress_line.h"
#include "decode/decode_walk.h"

namespace cli {

class TerminalSink : public decode::DecodeSink {
 public:
  // code_page: that of the archive's names, which are spelled in UTF-8.
  // Progress shows on a terminal for a big archive, unless quiet.
  TerminalSink(const archive::SharedState& state, uint32_t code_page, bool quiet);

  // The exit status of a run whose walk returned walk_result.
  int ExitCode(int walk_result) const;

  // An entry whose name cannot be used is reported and passed over.
  decode::WalkRules Rules() const override { return decode::WalkRules::kReader; }
  // Derived sinks that override this call it first.
  void OnOutputName(const archive::FileRecord& record) override;
  decode::NameProblem SpellName(const char* stored, char* local, int capacity) override;
  void OnEntryRefused(const archive::FileRecord& record, decode::NameProblem problem) override;
  void OnProgress(int percent) override;
  void OnSkipped(uint64_t offset, uint64_t count) override;
  void OnFailure(decode::DecodeFailure failure, const archive::SharedState& state) override;

 protected:
  void EndProgressLine();
  // An output file or folder could not be made or written, or was not
  // replaced: "kelvarin: path: text".
  void OutputProblem(const std::string& path, const std::string& text);
  // The same for a failure that ends the run: the walk's own failure that
  // follows is then not said again.
  void OutputProblemEndsRun(const std::string& path, const std::string& text);
  void EntryDone() { entry_.clear(); }
  // What happens to an entry passed over, as the command says it.
  virtual const char* PassedOver() const { return "left out"; }
  // A stored name as a terminal may show it.
  std::string Display(const char* stored) const;
  // A stored name in UTF-8, as names given on the command line are
  // matched against it; the stored bytes when they are no text.
  std::string InUtf8(const char* stored) const;

 private:
  std::string archive_;
  uint32_t code_page_;
  std::string entry_;  // name of the entry being decoded, as shown
  ProgressLine progress_;
  bool record_read_ = false;  // a record was read in this run
  bool failure_said_ = false;
  ExitStatus status_;
};

}  // namespace cli
