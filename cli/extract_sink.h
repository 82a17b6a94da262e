// The decode sink of `kelvarin extract`: every entry into one folder, made
// when missing, each file staged under a temporary name and put in place
// when whole, existing files replaced or kept as the overwrite policy says.
#pragma once

#include <string>

#include "cli/overwrite_policy.h"
#include "cli/staged_file.h"
#include "cli/terminal_sink.h"

namespace cli {

class ExtractSink : public TerminalSink {
 public:
  ExtractSink(const archive::SharedState& state, uint32_t code_page, const std::string& folder,
              Overwrite overwrite);

  decode::Choice ChooseFolder(char* folder) override;
  decode::Choice ChooseSavePath(char* path) override;
  bool PrepareFolders(const char* path) override;
  bool CreateOutput(const char* path) override;
  uint32_t WriteOutput(const unsigned char* bytes, uint32_t count) override;
  void FinishOutput(const char* path, const archive::FileRecord& record) override;
  void AbandonOutput() override;

 private:
  // Makes the output folder at the first entry, when the password has
  // proved right; false (said) when it cannot be made.
  bool MakeOutputFolder();

  std::string folder_;
  bool folder_made_ = false;
  OverwritePolicy policy_;
  StagedFile output_;
  std::string path_;
  bool writing_ = false;  // false while a kept entry is decoded without being written
  bool replace_ = false;
};

}  // namespace cli
