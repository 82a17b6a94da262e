// A decode sink that answers the walk's questions as a test tells it to and
// records everything a user would have been asked and told, with the
// output files kept in memory by the path the walk chose. It also notes
// any breach of the walk's calling protocol (an output opened twice, bytes
// written to no output, a success reported after a failure).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "decode/decode_walk.h"
#include "encoder/archive_writer.h"

namespace test_support {

class RecordingSink : public decode::DecodeSink {
 public:
  decode::WalkRules Rules() const override { return rules; }
  decode::NameProblem SpellName(const char* stored, char* local, int capacity) override;
  void OnEntryRefused(const archive::FileRecord& record, decode::NameProblem problem) override {
    refused.push_back({record.output_name, problem});
  }
  void OnRefusedEntryEnd(const archive::FileRecord& record) override { refused_ends.push_back(record.output_name); }
  decode::Choice ChooseFolder(char* folder) override;
  decode::Choice ChooseSavePath(char* path) override;
  bool PrepareFolders(const char* path) override;
  void ShowEncoderInformation(const archive::FileRecord& record) override;
  bool CreateOutput(const char* path) override;
  uint32_t WriteOutput(const unsigned char* bytes, uint32_t count) override;
  void FinishOutput(const char* path, const archive::FileRecord& record) override;
  void AbandonOutput() override;
  // Where the program saves the password and opens the file.
  void OnEntryComplete(const archive::SharedState& state, const char* path) override;
  void OnProgress(int percent) override { progress.push_back(percent); }
  void BetweenBlocks() override { ++blocks; }
  void OnSkipped(uint64_t offset, uint64_t count) override { skipped.push_back({offset, count}); }
  void OnFailure(decode::DecodeFailure failure, const archive::SharedState&) override { failures.push_back(failure); }
  void OnRunEnd(bool success) override;

  // Answers.
  decode::WalkRules rules = decode::WalkRules::kProgram;
  uint32_t spelling_code_page = 0;  // names spelled in UTF-8 from it; 0: as stored
  std::string folder_answer = "/out";
  decode::Choice folder_choice = decode::Choice::kChosen;
  decode::Choice save_choice = decode::Choice::kChosen;
  bool prepare_result = true;
  bool create_result = true;
  uint64_t output_limit = UINT64_MAX;  // writes beyond it come up short

  // What happened.
  int folder_questions = 0;
  std::vector<std::string> save_questions, prepared, shown_info, finished, completed, abandoned;
  std::map<std::string, encoder::Bytes> files;
  std::map<std::string, archive::FileRecord> records;
  std::vector<int> progress;
  size_t blocks = 0;  // data blocks decoded
  std::vector<std::pair<uint64_t, uint64_t>> skipped;  // offset, count
  std::vector<decode::DecodeFailure> failures;
  std::vector<std::pair<std::string, decode::NameProblem>> refused;
  std::vector<std::string> refused_ends;
  std::vector<bool> run_ends;
  bool protocol_kept = true;

 private:
  std::string current_;
  bool open_ = false;
  uint64_t written_ = 0;
};

// Everything the sink was asked and told, as text (the files as name and
// size), for comparing two runs over one archive.
std::string Transcript(const RecordingSink& sink);

}  // namespace test_support
