#include "tests/support/recording_sink.h"

#include "base/bounded_text.h"
#include "base/paths.h"

namespace test_support {

decode::Choice RecordingSink::ChooseFolder(char* folder) {
  ++folder_questions;
  base::CopyText(folder, base::kPathCapacity, folder_answer.c_str());
  return folder_choice;
}

decode::Choice RecordingSink::ChooseSavePath(char* path) {
  save_questions.push_back(path);
  return save_choice;
}

bool RecordingSink::PrepareFolders(const char* path) {
  prepared.push_back(path);
  return prepare_result;
}

void RecordingSink::ShowEncoderInformation(const archive::FileRecord& record) {
  shown_info.push_back(record.output_name);
}

bool RecordingSink::CreateOutput(const char* path) {
  if (open_) protocol_kept = false;
  if (!create_result) return false;
  open_ = true;
  current_ = path;
  files[current_].clear();
  return true;
}

uint32_t RecordingSink::WriteOutput(const unsigned char* bytes, uint32_t count) {
  if (!open_) protocol_kept = false;
  if (written_ + count > output_limit) return 0;
  written_ += count;
  files[current_].insert(files[current_].end(), bytes, bytes + count);
  return count;
}

void RecordingSink::FinishOutput(const char* path, const archive::FileRecord& record) {
  if (!open_) protocol_kept = false;
  open_ = false;
  finished.push_back(path);
  records[path] = record;
}

void RecordingSink::AbandonOutput() {
  if (!open_) protocol_kept = false;
  open_ = false;
  abandoned.push_back(current_);
}

void RecordingSink::OnRunEnd(bool success) {
  if (open_ || (success && !failures.empty())) protocol_kept = false;
  run_ends.push_back(success);
}

}  // namespace test_support
