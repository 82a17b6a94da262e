// Helpers shared by the unit tests: a temporary folder that cleans up
// after itself, archives written into it, a recording check reporter, and
// Shift-JIS texts.
#pragma once

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "archive/check_walk.h"
#include "archive/shared_state.h"
#include "encoder/archive_writer.h"
#include "tests/support/sample_data.h"

namespace test_support {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void WriteFileBytes(const std::string& path, const encoder::Bytes& bytes);

// The archive written to `dir` as archive.exe, with its first entry
// located (the test fails when there is none).
archive::SharedState ArchiveState(const TempDir& dir, const encoder::Bytes& archive);

// A check reporter that records what a user would have seen.
class RecordingReporter : public archive::CheckReporter {
 public:
  void Begin() override { events.push_back("begin"); }
  void OnEntryHeader(const archive::SharedState& s) override { events.push_back(std::string("header ") + s.caption); }
  void OnProgress(int percent) override { percents.push_back(percent); }
  void OnProblem(archive::CheckProblem p, const archive::SharedState& s) override {
    problems.push_back(p);
    titles.push_back(s.caption);
    events.push_back("problem");
  }
  void End() override { events.push_back("end"); }
  void OnNoProblem(const archive::SharedState& s) override {
    titles.push_back(s.caption);
    events.push_back("no problem");
  }
  std::vector<std::string> events, titles;
  std::vector<int> percents;
  std::vector<archive::CheckProblem> problems;
};

// Readable text (UTF-8) as the program holds it: Shift-JIS bytes, converted
// by the C library so that the expected bytes are not written by hand.
std::string ToShiftJis(const std::string& utf8);

}  // namespace test_support
