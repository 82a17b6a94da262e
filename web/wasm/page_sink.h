// The decode sink of the browser page. Listing decodes everything and
// writes nothing; extracting hands each entry to the page, which writes it
// below the folder the user picked (or into a .zip). Stored names are
// spelled in UTF-8 from the code page the archive was read in, and the
// walk checks them as spelled; an entry whose name cannot be used is shown
// and passed over.
#pragma once

#include <cstdint>
#include <optional>

#include "decode/decode_walk.h"
#include "ui/texts.h"

namespace web {

class PageSink final : public decode::DecodeSink {
 public:
  PageSink(bool extract, ui::Language language, uint32_t code_page)
      : extract_(extract), language_(language), code_page_(code_page) {}

  // The failure that ended the run, when one did.
  std::optional<decode::DecodeFailure> failure() const { return failure_; }

  decode::WalkRules Rules() const override { return decode::WalkRules::kReader; }
  // The files a page makes end up on Windows as often as not: only names
  // that Windows takes as given (no device names, reserved characters,
  // or trailing dots and spaces).
  decode::PathStyle NameStyle() const override { return decode::PathStyle::kWindows; }
  void OnOutputName(const archive::FileRecord& record) override;
  decode::Choice ChooseFolder(char* folder) override;
  decode::Choice ChooseSavePath(char* path) override;
  decode::NameProblem SpellName(const char* stored, char* local, int capacity) override;
  // The page makes the folders of a path when it creates the file.
  bool PrepareFolders(const char*) override { return true; }
  bool CreateOutput(const char* path) override;
  uint32_t WriteOutput(const unsigned char* bytes, uint32_t count) override;
  void FinishOutput(const char* path, const archive::FileRecord& record) override;
  void AbandonOutput() override;
  void OnEntryRefused(const archive::FileRecord& record, decode::NameProblem problem) override;
  void OnRefusedEntryEnd(const archive::FileRecord& record) override;
  void OnSkipped(uint64_t offset, uint64_t count) override;
  void OnFailure(decode::DecodeFailure failure, const archive::SharedState& state) override;

 private:
  bool extract_;
  ui::Language language_;
  uint32_t code_page_;
  bool record_read_ = false;  // a record was read in this run
  std::optional<decode::DecodeFailure> failure_;
};

}  // namespace web
