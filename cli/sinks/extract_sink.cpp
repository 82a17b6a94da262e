#include "cli/sinks/extract_sink.h"

#include <cstdio>

#include "base/bounded_text.h"
#include "cli/texts/file_kinds.h"
#include "cli/texts/messages.h"
#include "cli/sinks/path_names.h"
#include "cli/texts/text_encoding.h"
#include "decode/destination_paths.h"
#include "platform/os.h"

namespace cli {
namespace {

bool FitsPathBuffer(const std::string& path) { return path.size() < static_cast<size_t>(platform::kPathCapacity); }

}  // namespace

ExtractSink::ExtractSink(const archive::SharedState& state, uint32_t code_page, const std::string& folder,
                         Overwrite overwrite, EntrySelection& selection, bool quiet)
    : SelectingSink(selection, state, code_page, quiet), folder_(folder), policy_(overwrite), quiet_(quiet) {
  // "out/" and "out" are one folder; a root ("/", "C:\\") stays itself.
  while (folder_.size() > 1 && platform::IsPathSeparator(folder_.back()) && folder_[folder_.size() - 2] != ':') {
    folder_.pop_back();
  }
}

bool ExtractSink::MakeOutputFolder() {
  if (root_.IsOpen()) return true;
  if (!FitsPathBuffer(folder_)) {
    OutputProblemEndsRun(folder_, "the folder's path is longer than " + std::to_string(platform::kPathCapacity - 1) +
                                      " characters");
    return false;
  }
  // The folder itself is the user's to name, through links too.
  const platform::PathKind kind = platform::OsPathKind(folder_.c_str());
  if (kind != platform::PathKind::kFolder && kind != platform::PathKind::kNone) {
    OutputProblemEndsRun(folder_, "is " + KindWords(kind) + ", not a folder");
    return false;
  }
  if (kind == platform::PathKind::kNone && !decode::CreateFolderPath(folder_.c_str())) {
    OutputProblemEndsRun(folder_, "cannot make the folder: " + SystemReason());
    return false;
  }
  root_ = platform::Folder::Open(folder_.c_str());
  if (!root_.IsOpen()) {
    OutputProblemEndsRun(folder_, "cannot open the folder: " + SystemReason());
    return false;
  }
  return true;
}

decode::Choice ExtractSink::ChooseFolder(char* folder) {
  if (!MakeOutputFolder()) return decode::Choice::kCancelled;
  base::CopyText(folder, platform::kPathCapacity, folder_.c_str());
  return decode::Choice::kChosen;
}

// Plain names (the walk has checked them) go straight into the folder.
decode::Choice ExtractSink::ChooseSavePath(char* path) {
  if (!MakeOutputFolder()) return decode::Choice::kCancelled;
  const std::string full = folder_ + platform::kPathSeparator + path;
  if (!FitsPathBuffer(full)) return decode::Choice::kRefused;
  base::CopyText(path, platform::kPathCapacity, full.c_str());
  return decode::Choice::kChosen;
}

bool ExtractSink::OpenParent(const std::string& path, bool* ends_run) {
  *ends_run = false;
  const std::string below = folder_ + platform::kPathSeparator;
  if (path.compare(0, below.size(), below) != 0) {
    *ends_run = true;
    OutputProblemEndsRun(path, "is not below " + folder_);
    return false;
  }
  // Each folder is opened from the one above it, never through a link;
  // an empty current_ stands for the output folder.
  platform::Folder current;
  size_t start = below.size();
  for (size_t end; (end = path.find(platform::kPathSeparator, start)) != std::string::npos; start = end + 1) {
    const std::string name = path.substr(start, end - start);
    const std::string here = path.substr(0, end);
    platform::Folder next;
    switch ((current.IsOpen() ? current : root_).OpenSub(name.c_str(), true, &next)) {
      case platform::FolderStep::kOpened:
        current = std::move(next);
        continue;
      case platform::FolderStep::kLink:
        OutputProblem(here, "is a symbolic link where a folder is needed; nothing is written through it");
        return false;
      case platform::FolderStep::kNotFolder:
        OutputProblem(here, "is not a folder, so nothing can be put in it");
        return false;
      case platform::FolderStep::kFailed:
        *ends_run = true;
        OutputProblemEndsRun(here, "cannot make the folder: " + SystemReason());
        return false;
    }
  }
  parent_ = current.IsOpen() ? std::move(current) : platform::Folder::Open(folder_.c_str());
  if (parent_.IsOpen()) return true;
  *ends_run = true;
  OutputProblemEndsRun(folder_, "cannot open the folder: " + SystemReason());
  return false;
}

bool ExtractSink::PrepareFolders(const char* path) {
  writing_ = false;
  if (!selected_) return true;
  bool ends_run = false;
  // A folder that cannot be had leaves its entry out; the others go on.
  selected_ = OpenParent(path, &ends_run);
  return !ends_run;
}

bool ExtractSink::CreateOutput(const char* path) {
  path_ = path;
  writing_ = false;
  replace_ = policy_.ReplacesAll();
  if (!selected_) return true;  // decoded all the same: the rest of the archive is still checked
  if (!parent_.IsOpen()) {  // a plain name, which PrepareFolders did not see
    bool ends_run = false;
    if (!OpenParent(path_, &ends_run)) return !ends_run;
  }
  const std::string name = path_.substr(NameStart(path_));
  const platform::NameKind existing = parent_.KindOf(name.c_str());
  if (existing == platform::NameKind::kFolder) {  // no answer and no option can replace it
    OutputProblem(path_, "is a folder, so the file cannot be put in its place");
    parent_.Close();
    return true;
  }
  if (existing != platform::NameKind::kNone) {
    EndProgressLine();  // a question may follow
    switch (policy_.Decide(path_)) {
      case ExistingFile::kReplace:
        replace_ = true;
        break;
      case ExistingFile::kRefuse:
        OutputProblem(path_, "exists; kept, not replaced (--overwrite replaces, --keep keeps without a word)");
        [[fallthrough]];
      case ExistingFile::kKeep:
        parent_.Close();
        return true;
    }
  }
  std::string reason;
  writing_ = output_.Create(std::move(parent_), name, &reason);
  if (writing_) return true;
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
  parent_.Close();
  if (!writing_) return;
  writing_ = false;
  std::string reason;
  if (!output_.Commit(&record, replace_, &reason)) {
    OutputProblem(path_, "cannot put in place: " + reason);
    return;
  }
  EndProgressLine();
  if (!quiet_) printf("%s\n", Printable(path_).c_str());
}

void ExtractSink::AbandonOutput() {
  output_.Abandon();
  parent_.Close();
  writing_ = false;
}

}  // namespace cli
