#include "tests/support/recording_sink.h"

#include <sstream>

#include "base/bounded_text.h"
#include "decode/archive_reading.h"
#include "platform/os.h"

namespace test_support {

decode::NameProblem RecordingSink::SpellName(const char* stored, char* local, int capacity) {
  if (spelling_code_page == 0) return DecodeSink::SpellName(stored, local, capacity);
  return decode::SpellInUtf8(spelling_code_page, stored, local, capacity);
}

decode::Choice RecordingSink::ChooseFolder(char* folder) {
  ++folder_questions;
  base::CopyText(folder, platform::kPathCapacity, folder_answer.c_str());
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

// Told of an entry once its file is finished, before anything else.
void RecordingSink::OnEntryComplete(const archive::SharedState&, const char* path) {
  if (open_ || finished.empty() || finished.back() != path || completed.size() + 1 != finished.size()) {
    protocol_kept = false;
  }
  completed.push_back(path);
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

std::string Transcript(const RecordingSink& sink) {
  std::ostringstream out;
  auto list = [&](const char* what, const auto& items) {
    out << what << ":";
    for (const auto& item : items) out << " " << item;
    out << "\n";
  };
  out << "folder questions: " << sink.folder_questions << "\n";
  list("save questions", sink.save_questions);
  list("prepared", sink.prepared);
  list("encoder information", sink.shown_info);
  list("finished", sink.finished);
  list("completed", sink.completed);
  list("abandoned", sink.abandoned);
  for (const auto& [path, bytes] : sink.files) out << "file " << path << ": " << bytes.size() << " bytes\n";
  for (const auto& [path, record] : sink.records) {
    out << "record " << path << ": " << record.output_name << " " << record.file_size << " " << record.attributes
        << " " << record.creation_time << " " << record.last_access_time << " " << record.last_write_time << "\n";
  }
  list("progress", sink.progress);
  out << "blocks: " << sink.blocks << "\n";
  for (const auto& [offset, count] : sink.skipped) out << "skipped " << count << " bytes at " << offset << "\n";
  std::vector<int> failures;
  for (decode::DecodeFailure failure : sink.failures) failures.push_back(static_cast<int>(failure));
  list("failures", failures);
  list("run ends", sink.run_ends);
  out << "protocol kept: " << sink.protocol_kept << "\n";
  return out.str();
}

}  // namespace test_support
