// The answers of a decode sink that decodes every entry and writes
// nothing to disk, for a sink that lists entries, writes their bytes
// elsewhere or only looks at them. Every destination is taken as offered
// and every byte as written.
#pragma once

#include <cstring>

#include "decode/decode_walk.h"

namespace decode {

template <class Sink>
class WritesNothing : public Sink {
 public:
  using Sink::Sink;
  Choice ChooseFolder(char* folder) override {
    strcpy(folder, ".");
    return Choice::kChosen;
  }
  Choice ChooseSavePath(char*) override { return Choice::kChosen; }
  bool PrepareFolders(const char*) override { return true; }
  bool CreateOutput(const char*) override { return true; }
  uint32_t WriteOutput(const unsigned char*, uint32_t count) override { return count; }
  void FinishOutput(const char*, const archive::FileRecord&) override {}
  void AbandonOutput() override {}
};

}  // namespace decode
