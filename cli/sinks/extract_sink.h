// The decode sink of `kelvarin extract`: the selected entries into one
// folder, made when missing, each file staged under a temporary name and
// put in place when whole, existing files replaced or kept as the
// overwrite policy says. Below the folder nothing is reached through a
// symbolic link: a link where a folder is needed is reported and its
// entry left out, and a link at a file's name is replaced, never written
// through.
#pragma once

#include <string>

#include "cli/sinks/overwrite_policy.h"
#include "cli/sinks/selecting_sink.h"
#include "cli/sinks/staged_file.h"
#include "cli/sinks/terminal_sink.h"
#include "platform/folder.h"

namespace cli {

class ExtractSink : public SelectingSink<TerminalSink> {
 public:
  ExtractSink(const archive::SharedState& state, uint32_t code_page, const std::string& folder, Overwrite overwrite,
              EntrySelection& selection, bool quiet);

  decode::Choice ChooseFolder(char* folder) override;
  decode::Choice ChooseSavePath(char* path) override;
  bool PrepareFolders(const char* path) override;
  bool CreateOutput(const char* path) override;
  uint32_t WriteOutput(const unsigned char* bytes, uint32_t count) override;
  void FinishOutput(const char* path, const archive::FileRecord& record) override;
  void AbandonOutput() override;

 private:
  // Makes the output folder at the first entry, when the password has
  // proved right, and holds it open; false (said) when it cannot be had.
  bool MakeOutputFolder();
  // Opens, making what is missing, the folders below the output folder
  // that are to hold path, and holds the last one in parent_. False when
  // the entry cannot be written there; a failure that ends the run sets
  // ends_run.
  bool OpenParent(const std::string& path, bool* ends_run);

  std::string folder_;
  platform::Folder root_;
  OverwritePolicy policy_;
  bool quiet_;
  platform::Folder parent_;   // holds the current entry's file
  StagedFile output_;
  std::string path_;
  bool writing_ = false;  // false while a kept or left-out entry is decoded without being written
  bool replace_ = false;
};

}  // namespace cli
