// `kelvarin extract ARCHIVE --output DIR` and `kelvarin list ARCHIVE`:
// the decode walk with the destination fixed to a folder, or with nothing
// written at all.
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

#include "base/bounded_text.h"
#include "base/paths.h"
#include "cli/archive_argument.h"
#include "cli/commands.h"
#include "cli/password_input.h"
#include "decode/decode_walk.h"
#include "decode/destination_paths.h"
#include "decode/disk_output.h"
#include "decode/failure_messages.h"
#include "parallel/parallel_block_source.h"

namespace cli {
namespace {

constexpr uint64_t kProgressThreshold = 4 * 1024 * 1024;  // show progress above this size

// Messages in the program's English words, with the title it would show.
class TerminalSink : public decode::DecodeSink {
 public:
  explicit TerminalSink(const archive::SharedState& state) {
    struct stat st;
    show_progress_ = isatty(STDERR_FILENO) && stat(state.archive_path, &st) == 0 &&
                     static_cast<uint64_t>(st.st_size) > kProgressThreshold;
  }

  void OnProgress(int percent) override {
    if (show_progress_) fprintf(stderr, "\rDecoding... %3d %%", percent);
  }

  void OnFailure(decode::DecodeFailure failure, const archive::SharedState& state) override {
    EndProgressLine();
    fprintf(stderr, "%s: %s\n", decode::FailureTitle(failure, state, ui::Language::kEnglish),
            decode::FailureText(failure, ui::Language::kEnglish));
  }

 protected:
  void EndProgressLine() {
    if (show_progress_) fputs("\r                    \r", stderr);
  }

 private:
  bool show_progress_ = false;
};

class ExtractSink : public TerminalSink {
 public:
  ExtractSink(const archive::SharedState& state, const char* folder) : TerminalSink(state), folder_(folder) {}

  decode::Choice ChooseFolder(char* folder) override {
    if (folder_.size() >= static_cast<size_t>(base::kPathCapacity)) return decode::Choice::kCancelled;
    base::CopyText(folder, base::kPathCapacity, folder_.c_str());
    return decode::Choice::kChosen;
  }

  // Plain names go straight into the folder, and only plain names.
  decode::Choice ChooseSavePath(char* path) override {
    if (!decode::IsSafePlainName(path)) return decode::Choice::kRefused;
    std::string full = folder_ + "/" + path;
    if (full.size() >= static_cast<size_t>(base::kPathCapacity)) return decode::Choice::kRefused;
    base::CopyText(path, base::kPathCapacity, full.c_str());
    return decode::Choice::kChosen;
  }

  bool CreateOutput(const char* path) override { return output_.Create(path); }
  uint32_t WriteOutput(const unsigned char* bytes, uint32_t count) override { return output_.Write(bytes, count); }
  void FinishOutput(const char* path, const archive::FileRecord& record) override { output_.Finish(path, record); }
  void AbandonOutput() override { output_.Abandon(); }

  void OnEntryComplete(const archive::SharedState&, const char* path) override {
    EndProgressLine();
    printf("%s\n", path);
  }

 private:
  std::string folder_;
  decode::DiskOutput output_;
};

std::string UtcText(uint64_t filetime) {
  constexpr uint64_t kEpochDifference = 116444736000000000ull;
  time_t seconds = filetime > kEpochDifference ? static_cast<time_t>((filetime - kEpochDifference) / 10000000) : 0;
  struct tm parts;
  gmtime_r(&seconds, &parts);
  char text[32];
  strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
  return text;
}

// Decodes everything to check the password and the data, writes nothing.
class ListSink : public TerminalSink {
 public:
  using TerminalSink::TerminalSink;
  decode::Choice ChooseFolder(char* folder) override {
    base::CopyText(folder, base::kPathCapacity, ".");
    return decode::Choice::kChosen;
  }
  decode::Choice ChooseSavePath(char*) override { return decode::Choice::kChosen; }
  bool PrepareFolders(const char*) override { return true; }
  bool CreateOutput(const char*) override { return true; }
  uint32_t WriteOutput(const unsigned char*, uint32_t count) override { return count; }
  void FinishOutput(const char*, const archive::FileRecord& record) override {
    EndProgressLine();
    printf("%-40s %10u  created %s  accessed %s  written %s\n", record.output_name, record.file_size,
           UtcText(record.creation_time).c_str(), UtcText(record.last_access_time).c_str(),
           UtcText(record.last_write_time).c_str());
  }
  void AbandonOutput() override {}
};

struct DecodeOptions {
  const char* archive = nullptr;
  const char* output = nullptr;
  PasswordSource password;
  unsigned threads = parallel::DefaultThreadCount();
};

bool ParseOptions(int argc, char** argv, bool needs_output, DecodeOptions* options) {
  for (int i = 0; i < argc; ++i) {
    auto value = [&](const char** target) {
      if (i + 1 >= argc) return false;
      *target = argv[++i];
      return true;
    };
    bool ok = true;
    if (strcmp(argv[i], "--output") == 0 && needs_output) {
      ok = value(&options->output);
    } else if (strcmp(argv[i], "--password-file") == 0) {
      ok = value(&options->password.file);
    } else if (strcmp(argv[i], "--password") == 0) {
      ok = value(&options->password.text);
    } else if (strcmp(argv[i], "--threads") == 0) {
      const char* count = nullptr;
      ok = value(&count) && parallel::ParseThreadCount(count, &options->threads);
    } else if (argv[i][0] != '-' && !options->archive) {
      options->archive = argv[i];
    } else {
      ok = false;
    }
    if (!ok) return false;
  }
  return options->archive && (!needs_output || options->output);
}

int RunDecode(int argc, char** argv, bool extract) {
  DecodeOptions options;
  if (!ParseOptions(argc, argv, extract, &options)) {
    fputs(extract ? "usage: kelvarin extract ARCHIVE --output DIR [--password-file FILE] [--threads N]\n"
                  : "usage: kelvarin list ARCHIVE [--password-file FILE] [--threads N]\n",
          stderr);
    return kExitUsage;
  }
  static archive::SharedState state;
  if (!LocateArchive(options.archive, &state)) return kExitProblem;
  std::string password;
  if (!ReadPassword(options.password, &password)) return kExitProblem;
  std::unique_ptr<decode::BlockSource> source = parallel::MakeBlockSource(options.threads);
  int result;
  if (extract) {
    ExtractSink sink(state, options.output);
    result = decode::DecodeWalk(state, password.data(), static_cast<uint32_t>(password.size()), sink, *source);
  } else {
    ListSink sink(state);
    result = decode::DecodeWalk(state, password.data(), static_cast<uint32_t>(password.size()), sink, *source);
  }
  return result == 1 ? kExitOk : kExitProblem;
}

}  // namespace

int RunExtract(int argc, char** argv) { return RunDecode(argc, argv, true); }
int RunList(int argc, char** argv) { return RunDecode(argc, argv, false); }

}  // namespace cli
