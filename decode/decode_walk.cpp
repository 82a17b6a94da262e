#include "decode/decode_walk.h"

#include <cstdlib>
#include <cstring>

#include "archive/block_buffer.h"
#include "archive/check_walk.h"
#include "base/bounded_text.h"
#include "base/little_endian.h"
#include "base/path_text.h"
#include "base/paths.h"
#include "codec/block_cipher.h"
#include "decode/destination_paths.h"

namespace decode {

NameProblem DecodeSink::SpellName(const char* stored, char* local, int capacity) {
  if (strlen(stored) >= static_cast<size_t>(capacity)) return NameProblem::kTooLong;
  base::CopyText(local, static_cast<size_t>(capacity), stored);
  return NameProblem::kNone;
}

bool DecodeSink::PrepareFolders(const char* path) { return EnsureParentFolder(path) == 1; }

namespace {

constexpr uint32_t kFirstFileByte = 1 + archive::kFileRecordSize;

// The state of one run; nothing survives from one run to the next. A
// template, so that the Win32 program's walk calls its source directly and
// carries nothing of the readers' rules (kProgramOnly).
template <class Source, bool kProgramOnly>
class Run {
 public:
  Run(archive::SharedState& state, DecodeSink& sink, Source& source)
      : state_(state), sink_(sink), source_(source) {}

  // Walks the whole archive; false on the first failure or cancellation.
  bool Walk(const char* key) {
    if (!source_.Open(state_.archive_path, static_cast<uint64_t>(state_.entry_offset), key)) {
      return Fail(DecodeFailure::kOpenArchive);
    }
    bool ok = WalkEntries();
    if (output_open_) sink_.AbandonOutput();
    source_.Close();
    return ok;
  }

 private:
  bool Reader() const { return !kProgramOnly && rules_ == WalkRules::kReader; }

  bool Fail(DecodeFailure failure) {
    sink_.OnFailure(failure, state_);
    return false;
  }

  bool WalkEntries() {
    for (;;) {
      // kNoHeader: the end of the file came during the header scan; the
      // block read below fails there.
      if (written_ == 0 && FindEntry() == Boundary::kEnd) return true;
      if (!ReadBlock()) return false;
      if (written_ == 0 && !StartEntry()) return false;
      if (!WriteBlock()) return false;
      sink_.BetweenBlocks();
    }
  }

  Boundary FindEntry() {
    Skipped skipped;
    const Boundary boundary = source_.FindEntry(state_, &skipped);
    if (skipped.count != 0) sink_.OnSkipped(skipped.offset, skipped.count);
    return boundary;
  }

  bool ReadBlock() {
    BlockStatus status = source_.ReadBlock(buffer_);
    if (status == BlockStatus::kReadFailure) return Fail(DecodeFailure::kReadFailed);
    if (status == BlockStatus::kCooked) return Fail(DecodeFailure::kCooked);
    if (status == BlockStatus::kBrokenStream && Reader()) return Fail(DecodeFailure::kBrokenStream);
    return true;
  }

  // The first block of an entry: its record, then the destination.
  bool StartEntry() {
    // The record size is the only test of the password. A block too short
    // to hold that field holds no record either: a wrong password, as when
    // its bytes are garbage.
    const bool size_fits = buffer_.length() >= 5;
    if (!size_fits || base::ReadLe32(buffer_.data() + 1) != archive::kFileRecordSize) {
      return Fail(DecodeFailure::kWrongPassword);
    }
    // A block that cannot hold the whole record and a file byte (only an
    // empty file may lack one) is never read into its slack.
    if (buffer_.length() < kFirstFileByte) return Fail(DecodeFailure::kBlockTooShort);
    record_ = archive::ParseFileRecord(buffer_.data() + 1);
    if (record_.file_size != 0 && buffer_.length() == kFirstFileByte) return Fail(DecodeFailure::kBlockTooShort);

    sink_.OnOutputName(record_);
    if (state_.show_encoder_information && folder_[0] == '\0') sink_.ShowEncoderInformation(record_);
    passing_over_ = false;
    NameProblem problem = NameProblem::kNone;
    if (!Place(&problem)) return false;
    if (problem != NameProblem::kNone) {
      if (!Reader()) return Fail(DecodeFailure::kOpenForWrite);
      sink_.OnEntryRefused(record_, problem);
      passing_over_ = true;
      return true;
    }
    if (!sink_.CreateOutput(path_)) return Fail(DecodeFailure::kOpenForWrite);
    output_open_ = true;
    return true;
  }

  // Puts the output path of the entry in path_, or says in *problem why
  // its name cannot be used. False ends the run: a choice cancelled, or a
  // failure said. The program's Save-As dialog judges plain names itself.
  bool Place(NameProblem* problem) {
    const bool relative = record_.output_name[0] == '\\';
    if (relative && !ChooseFolderOnce()) return false;
    char name[platform::kPathCapacity];
    *problem = sink_.SpellName(record_.output_name, name, sizeof name);
    // The checks read the name as the system will, once it is spelled so.
    if (*problem == NameProblem::kNone && Reader()) {
      *problem = CheckName(name, relative, lead_, sink_.NameStyle());
    } else if (*problem == NameProblem::kNone && relative && !IsSafeRelativeName(name, lead_, sink_.NameStyle())) {
      *problem = NameProblem::kUnsafe;
    }
    if (*problem != NameProblem::kNone) return true;
    if (relative) {
      if (!JoinBelowFolder(folder_, name, path_, sizeof path_, lead_)) *problem = NameProblem::kTooLong;
      return *problem != NameProblem::kNone || sink_.PrepareFolders(path_);
    }
    base::CopyText(path_, sizeof path_, name);
    const Choice choice = sink_.ChooseSavePath(path_);
    if (choice == Choice::kRefused) *problem = NameProblem::kTooLong;
    return choice != Choice::kCancelled;
  }

  bool ChooseFolderOnce() {
    if (folder_[0] != '\0') return true;
    if (sink_.ChooseFolder(folder_) != Choice::kChosen) {
      folder_[0] = '\0';
      return false;
    }
    if (base::EndsWithSeparator(folder_, platform::kPathSeparator, lead_)) folder_[strlen(folder_) - 1] = '\0';
    return folder_[0] != '\0';
  }

  // Writes the block's file bytes whole; completes the entry at its size.
  // An entry passed over is counted the same, and nothing is written.
  bool WriteBlock() {
    const bool first = written_ == 0;
    const uint32_t start = first ? kFirstFileByte : 1;
    if (buffer_.length() < start) return Fail(DecodeFailure::kBlockTooShort);
    const uint32_t count = buffer_.length() - start;
    const bool passing_over = Reader() && passing_over_;
    if (!passing_over && sink_.WriteOutput(buffer_.data() + start, count) < count) {
      return Fail(DecodeFailure::kWriteFailed);
    }
    if (first) file_size_ = record_.file_size;
    written_ += count;

    int percent = archive::ProgressPercent(written_, file_size_);
    if (percent != last_percent_) {
      last_percent_ = percent;
      sink_.OnProgress(percent);
    }
    if (written_ < file_size_) return true;

    if (passing_over) {
      sink_.OnRefusedEntryEnd(record_);
    } else {
      sink_.FinishOutput(path_, record_);
      output_open_ = false;
      sink_.OnEntryComplete(state_, path_);
    }
    written_ = 0;
    file_size_ = 1;
    return true;
  }

  archive::SharedState& state_;
  DecodeSink& sink_;
  Source& source_;
  const base::LeadBytes lead_ = PathLeadBytes();  // how the system reads paths
  const WalkRules rules_ = kProgramOnly ? WalkRules::kProgram : sink_.Rules();
  archive::BlockBuffer buffer_;
  archive::FileRecord record_;
  uint64_t written_ = 0;  // file bytes of the current entry; 0 at a boundary
  uint64_t file_size_ = 1;
  int last_percent_ = 0;
  bool output_open_ = false;
  bool passing_over_ = false;  // the current entry's name was refused
  char folder_[platform::kPathCapacity] = {};  // chosen at most once per run
  char path_[platform::kPathCapacity] = {};    // output path of the current entry
};

template <class Source, bool kProgramOnly>
int WalkWith(archive::SharedState& state, const char* password, uint32_t password_length, DecodeSink& sink,
             Source& source) {
  char* key = codec::BuildKeyString(password, password_length);
  if (!key) {
    sink.OnFailure(DecodeFailure::kNoKey, state);
    return 0;
  }
  bool ok;
  {
    Run<Source, kProgramOnly> run(state, sink, source);
    ok = run.Walk(key);
  }
  sink.OnRunEnd(ok);
  free(key);
  return ok ? 1 : 0;
}

}  // namespace

int DecodeWalk(archive::SharedState& state, const char* password, uint32_t password_length,
               DecodeSink& sink) {
  SequentialBlockSource source;
  return WalkWith<SequentialBlockSource, true>(state, password, password_length, sink, source);
}

int DecodeWalk(archive::SharedState& state, const char* password, uint32_t password_length, DecodeSink& sink,
               BlockSource& source) {
  return WalkWith<BlockSource, false>(state, password, password_length, sink, source);
}

}  // namespace decode
