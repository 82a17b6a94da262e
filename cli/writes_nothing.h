// The answers of a decode sink that decodes every entry and writes
// nothing: `list`, and the look-ahead for names. Every destination is
// taken as offered and every byte as written.
#pragma once

#include <cstring>

#include "decode/decode_walk.h"

namespace cli {

template <class Sink>
class WritesNothing : public Sink {
 public:
  using Sink::Sink;
  decode::Choice ChooseFolder(char* folder) override {
    strcpy(folder, ".");
    return decode::Choice::kChosen;
  }
  decode::Choice ChooseSavePath(char*) override { return decode::Choice::kChosen; }
  bool PrepareFolders(const char*) override { return true; }
  bool CreateOutput(const char*) override { return true; }
  uint32_t WriteOutput(const unsigned char*, uint32_t count) override { return count; }
  void FinishOutput(const char*, const archive::FileRecord&) override {}
  void AbandonOutput() override {}
};

}  // namespace cli
