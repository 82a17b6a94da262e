// What extract's sinks share: the NAMEs after the archive choose the
// entries that are written. The others are decoded all the same, so that
// the archive is still checked whole, and one of them whose name cannot
// be used is no loss, so it is not reported.
#pragma once

#include <utility>

#include "archive/file_record.h"
#include "cli/sinks/entry_selection.h"
#include "decode/decode_walk.h"

namespace cli {

template <class Base>
class SelectingSink : public Base {
 public:
  template <class... BaseArguments>
  explicit SelectingSink(EntrySelection& selection, BaseArguments&&... arguments)
      : Base(std::forward<BaseArguments>(arguments)...), selection_(selection) {}

  void OnOutputName(const archive::FileRecord& record) override {
    Base::OnOutputName(record);
    selected_ = selection_.Selects(this->InUtf8(record.output_name).c_str());
  }
  void OnEntryRefused(const archive::FileRecord& record, decode::NameProblem problem) override {
    if (selected_) Base::OnEntryRefused(record, problem);
  }
  void OnRefusedEntryEnd(const archive::FileRecord&) override { this->EntryDone(); }

 protected:
  bool selected_ = true;  // false: decoded for the check, not written

 private:
  EntrySelection& selection_;
};

}  // namespace cli
