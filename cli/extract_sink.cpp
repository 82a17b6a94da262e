#include "cli/extract_sink.h"

#include <cstdio>

#include "base/bounded_text.h"
#include "base/paths.h"
#include "cli/messages.h"
#include "cli/text_encoding.h"
#include "decode/destination_paths.h"
#include "platform/os.h"

namespace cli {
namespace {

bool FitsPathBuffer(const std::string& path) { return path.size() < static_cast<size_t>(base::kPathCapacity); }

}  // namespace

ExtractSink::ExtractSink(const archive::SharedState& state, uint32_t code_page, const std::string& folder,
                         Overwrite overwrite)
    : TerminalSink(state, code_page), folder_(folder), policy_(overwrite) {
  // "out/" and "out" are one folder; a root ("/", "C:\\") stays itself.
  while (folder_.size() > 1 && platform::IsPathSeparator(folder_.back()) && folder_[folder_.size() - 2] != ':') {
    folder_.pop_back();
  }
}

bool ExtractSink::MakeOutputFolder() {
  if (folder_made_) return true;
  if (!FitsPathBuffer(folder_)) {
    OutputProblemEndsRun(folder_, "the folder's path is longer than " + std::to_string(base::kPathCapacity - 1) +
                                      " characters");
    return false;
  }
  if (!platform::OsIsFolder(folder_.c_str()) && !decode::CreateFolderPath(folder_.c_str())) {
    OutputProblemEndsRun(folder_, "cannot make the folder: " + SystemReason());
    return false;
  }
  folder_made_ = true;
  return true;
}

decode::Choice ExtractSink::ChooseFolder(char* folder) {
  if (!MakeOutputFolder()) return decode::Choice::kCancelled;
  base::CopyText(folder, base::kPathCapacity, folder_.c_str());
  return decode::Choice::kChosen;
}

// Plain names go straight into the folder, and only plain names.
decode::Choice ExtractSink::ChooseSavePath(char* path) {
  if (!MakeOutputFolder()) return decode::Choice::kCancelled;
  if (!decode::IsSafePlainName(path, decode::PathLeadBytes())) return decode::Choice::kRefused;
  const std::string full = folder_ + platform::kPathSeparator + path;
  if (!FitsPathBuffer(full)) return decode::Choice::kRefused;
  base::CopyText(path, base::kPathCapacity, full.c_str());
  return decode::Choice::kChosen;
}

bool ExtractSink::PrepareFolders(const char* path) {
  if (decode::EnsureParentFolder(path) == 1) return true;
  OutputProblemEndsRun(path, "cannot make its folder: " + SystemReason());
  return false;
}

bool ExtractSink::CreateOutput(const char* path) {
  path_ = path;
  writing_ = true;
  replace_ = false;
  if (platform::OsPathExists(path)) {
    EndProgressLine();  // a question may follow
    switch (policy_.Decide(path_)) {
      case ExistingFile::kReplace:
        replace_ = true;
        break;
      case ExistingFile::kRefuse:
        OutputProblem(path_, "exists; kept, not replaced (--overwrite replaces, --keep keeps without a word)");
        [[fallthrough]];
      case ExistingFile::kKeep:
        // Decoded all the same: the rest of the archive is still checked.
        writing_ = false;
        return true;
    }
  }
  std::string reason;
  if (output_.Create(path_, &reason)) return true;
  OutputProblemEndsRun(path_, "cannot create: " + reason);
  return false;
}

uint32_t ExtractSink::WriteOutput(const unsigned char* bytes, uint32_t count) {
  if (!writing_) return count;
  std::string reason;
  const uint32_t written = output_.Write(bytes, count, &reason);
  if (written < count) OutputProblemEndsRun(path_, "cannot write: " + reason);
  return written;
}

void ExtractSink::FinishOutput(const char*, const archive::FileRecord& record) {
  EntryDone();
  if (!writing_) return;
  writing_ = false;
  std::string reason;
  if (!output_.Commit(record, replace_, &reason)) {
    OutputProblem(path_, "cannot put in place: " + reason);
    return;
  }
  EndProgressLine();
  printf("%s\n", Printable(path_).c_str());
}

void ExtractSink::AbandonOutput() {
  output_.Abandon();
  writing_ = false;
}

}  // namespace cli
