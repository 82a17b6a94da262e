// The decode sink of `kelvarin list`: decodes every entry to prove the
// password and the data, writes nothing, and prints each entry when it
// is complete, as a line of text or, for scripts, as one JSON object per
// line; an entry whose name extract would refuse too (said on stderr).
#pragma once

#include <string>

#include "cli/sinks/terminal_sink.h"
#include "decode/writes_nothing.h"

namespace cli {

enum class ListFormat { kText, kJson };

// A stored time (FILETIME) in UTC, before 1970 too: "YYYY-MM-DD HH:MM:SS",
// or ISO 8601 "YYYY-MM-DDTHH:MM:SSZ" for JSON.
std::string UtcText(uint64_t filetime, ListFormat format);
// A name as a JSON string: UTF-8 kept, control characters,
// quotes and backslashes escaped, a byte that is no UTF-8 as U+FFFD.
std::string JsonString(const char* text);

class ListSink : public decode::WritesNothing<TerminalSink> {
 public:
  ListSink(const archive::SharedState& state, uint32_t code_page, ListFormat format, bool quiet)
      : WritesNothing(state, code_page, quiet), format_(format) {}
  void FinishOutput(const char*, const archive::FileRecord& record) override { Print(record); }
  void OnEntryRefused(const archive::FileRecord& record, decode::NameProblem problem) override;
  void OnRefusedEntryEnd(const archive::FileRecord& record) override { Print(record); }

 protected:
  const char* PassedOver() const override { return "extract leaves it out"; }

 private:
  void Print(const archive::FileRecord& record);

  ListFormat format_;
  decode::NameProblem problem_ = decode::NameProblem::kNone;  // of the entry being read
};

}  // namespace cli
