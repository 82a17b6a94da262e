// Fuzz target: the whole decode walk over arbitrary archive bytes, with a
// sink that keeps outputs in memory. The input is what follows the first
// entry marker in an archive (a 256-byte stub, then the marker and its NUL,
// then the input); the password is fixed so that a corpus of real
// archives can be checked in.
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "archive/entry_header.h"
#include "archive/markers.h"
#include "base/bounded_text.h"
#include "base/paths.h"
#include "decode/decode_walk.h"

namespace {

constexpr char kPassword[] = "fuzz-password";
constexpr uint32_t kOutputLimit = 64u << 20;  // a short write beyond this

class MemorySink : public decode::DecodeSink {
 public:
  decode::Choice ChooseFolder(char* folder) override {
    base::CopyText(folder, base::kPathCapacity, "/fuzz-out");
    return decode::Choice::kChosen;
  }
  decode::Choice ChooseSavePath(char*) override { return decode::Choice::kChosen; }
  bool PrepareFolders(const char*) override { return true; }
  bool CreateOutput(const char*) override {
    if (open_) abort();  // the walk never opens two outputs at once
    open_ = true;
    return true;
  }
  uint32_t WriteOutput(const unsigned char* bytes, uint32_t count) override {
    if (!open_) abort();
    uint32_t sum = 0;
    for (uint32_t i = 0; i < count; ++i) sum += bytes[i];  // touches every byte
    checksum_ += sum;
    if (written_ + count > kOutputLimit) return 0;
    written_ += count;
    return count;
  }
  void FinishOutput(const char*, const archive::FileRecord&) override { Close(); }
  void AbandonOutput() override { Close(); }
  void OnFailure(decode::DecodeFailure, const archive::SharedState&) override { ++failures_; }
  void OnRunEnd(bool success) override {
    if (open_ || success == (failures_ != 0)) abort();  // closed, and success means no failure
  }

 private:
  void Close() {
    if (!open_) abort();
    open_ = false;
  }
  bool open_ = false;
  uint64_t written_ = 0;
  uint32_t checksum_ = 0;
  int failures_ = 0;
};

// The archive file of this process, removed when the process ends.
char archive_path[64];
void RemoveArchive() { unlink(archive_path); }
const char* ArchivePath() {
  if (!archive_path[0]) {
    snprintf(archive_path, sizeof archive_path, "/tmp/kelvarin-fuzz-%d.exe", static_cast<int>(getpid()));
    atexit(RemoveArchive);
  }
  return archive_path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (4u << 20)) return 0;
  FILE* file = fopen(ArchivePath(), "wb");
  if (!file) abort();
  char prefix[256 + archive::kEntryMarkerLength + 1] = {};
  archive::BuildEntryMarker(prefix + 256);
  fwrite(prefix, 1, sizeof prefix, file);
  if (size) fwrite(data, 1, size, file);
  fclose(file);

  static archive::SharedState state;
  base::CopyText(state.archive_path, base::kPathCapacity, ArchivePath());
  state.entry_offset = 256;
  MemorySink sink;
  decode::DecodeWalk(state, kPassword, sizeof kPassword - 1, sink);
  return 0;
}
