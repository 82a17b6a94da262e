// The decode walk: one run over an archive that turns every entry into an
// output file. For each data block: lane checksum, decipher, decompress;
// the first block of an entry carries the file record, which decides the
// destination; the file bytes are written until the file size is reached.
//
// Everything a front end does its own way (asking for a destination,
// creating and finishing files, messages, progress, what happens after an
// entry or a run) goes through the DecodeSink, which the walk calls in
// the order a user sees things.
#pragma once

#include <cstdint>

#include "archive/file_record.h"
#include "archive/shared_state.h"
#include "decode/block_source.h"
#include "decode/name_problem.h"
#include "decode/name_rules.h"

namespace decode {

enum class DecodeFailure {
  kNoKey,           // the key string could not be built; the run did not start
  kOpenArchive,     // "Could not open file"
  kReadFailed,      // a block or header ended early; "Could not read file"
  kCooked,          // a lane checksum differs; "Anyone cooked this file."
  kWrongPassword,   // the record size is not 304
  kOpenForWrite,    // the output cannot be created, or its name is unsafe
  kWriteFailed,     // fewer bytes written than asked
  kBlockTooShort,   // a decoded block too short for what it must hold; the program says "Could not write"
  kBrokenStream,    // under the readers' rules: a compressed block whose stream did not hold up
};

enum class Choice { kChosen, kCancelled, kRefused };

// The program's rules, which a reader of archives elsewhere tightens: the
// program ends its run at an entry whose name it cannot use and writes a
// broken stream's bytes as they come. Under the readers' rules such an
// entry is reported (OnEntryRefused) and passed over while the walk goes
// on, and a broken stream ends the run (kBrokenStream).
enum class WalkRules { kProgram, kReader };

class DecodeSink {
 public:
  virtual ~DecodeSink() = default;

  // The first block of an entry was read and its record accepted.
  virtual void OnOutputName(const archive::FileRecord& /*record*/) {}
  // Asked for entries that want it, before the first folder choice.
  virtual void ShowEncoderInformation(const archive::FileRecord& /*record*/) {}
  // For names that begin with a backslash, once per run: fills folder (a
  // path buffer). kCancelled and an empty folder end the run silently.
  virtual Choice ChooseFolder(char* folder) = 0;
  // For plain names: turns the stored name in path (a path buffer) into
  // the output path. kCancelled ends silently; kRefused is reported as
  // "Could not open for write".
  virtual Choice ChooseSavePath(char* path) = 0;
  virtual WalkRules Rules() const { return WalkRules::kProgram; }
  // Whose rules the names are checked by: this system's, unless the
  // files are meant for another (the browser page's go to Windows too).
  virtual PathStyle NameStyle() const { return kNativePathStyle; }

  // The stored name (a relative one with its leading backslash) as this
  // system spells names, into local (capacity bytes): kUnspellable when it
  // cannot be spelled here, kTooLong when the spelling does not fit. By
  // default the stored bytes: the archive's code page is the system's.
  virtual NameProblem SpellName(const char* stored, char* local, int capacity);
  // Makes the folders that are to hold path; false ends the run silently.
  virtual bool PrepareFolders(const char* path);

  virtual bool CreateOutput(const char* path) = 0;
  virtual uint32_t WriteOutput(const unsigned char* bytes, uint32_t count) = 0;
  // The entry is complete: times, close, then attributes.
  virtual void FinishOutput(const char* path, const archive::FileRecord& record) = 0;
  // The run ends with an output still open; what was written stays.
  virtual void AbandonOutput() = 0;

  // Under the readers' rules: the entry's name cannot be used, so its
  // blocks are read and checked but nothing is asked or written for it;
  // OnRefusedEntryEnd follows when its last block was read.
  virtual void OnEntryRefused(const archive::FileRecord& /*record*/, NameProblem /*problem*/) {}
  virtual void OnRefusedEntryEnd(const archive::FileRecord& /*record*/) {}

  virtual void OnProgress(int /*percent*/) {}
  // After every data block that was written: a front end whose windows
  // share the walk's thread serves their messages here.
  virtual void BetweenBlocks() {}
  // No entry header stood where one was due: count bytes from offset were
  // passed over to the next one (or to the end of the archive).
  virtual void OnSkipped(uint64_t /*offset*/, uint64_t /*count*/) {}
  // After FinishOutput; the state holds the flags of this entry's header.
  virtual void OnEntryComplete(const archive::SharedState& /*state*/, const char* /*path*/) {}
  virtual void OnFailure(DecodeFailure failure, const archive::SharedState& state) = 0;
  // After the archive is closed; success is the run's result.
  virtual void OnRunEnd(bool /*success*/) {}
};

// One decode run with the password's bytes, under the program's rules
// whatever the sink says. Needs the archive path and an entry offset
// other than -1. Returns 1 when every entry up to the end of the archive
// was decoded, 0 otherwise.
int DecodeWalk(archive::SharedState& state, const char* password, uint32_t password_length,
               DecodeSink& sink);
// The same run with blocks from the given source, under the rules the
// sink asks for; with the same rules, the sink sees exactly what it sees
// with the sequential source.
int DecodeWalk(archive::SharedState& state, const char* password, uint32_t password_length, DecodeSink& sink,
               BlockSource& source);

}  // namespace decode
