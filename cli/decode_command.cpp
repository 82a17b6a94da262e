// `kelvarin extract ARCHIVE --output DIR` and `kelvarin list ARCHIVE`: the
// decode walk with every entry going into one folder, or with nothing
// written at all.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "cli/archive_argument.h"
#include "cli/archive_texts.h"
#include "cli/commands.h"
#include "cli/extract_sink.h"
#include "cli/help_texts.h"
#include "cli/messages.h"
#include "cli/password_input.h"
#include "cli/terminal_sink.h"
#include "cli/text_encoding.h"
#include "cli/writes_nothing.h"
#include "parallel/parallel_block_source.h"
#include "platform/file_time.h"

namespace cli {
namespace {

// A stored time as "YYYY-MM-DD HH:MM:SS" (UTC), before 1970 too.
std::string UtcText(uint64_t filetime) {
  using namespace std::chrono;
  const sys_seconds time{seconds{platform::FiletimeToUnix(filetime).seconds}};
  const sys_days day = floor<days>(time);
  const year_month_day date{day};
  const hh_mm_ss<seconds> clock{time - day};
  char text[48];
  snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(date.year()),
           static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
           static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
           static_cast<int>(clock.seconds().count()));
  return text;
}

// Decodes everything to prove the password and the data; writes nothing.
class ListSink : public WritesNothing<TerminalSink> {
 public:
  using WritesNothing::WritesNothing;
  void FinishOutput(const char*, const archive::FileRecord& record) override {
    EntryDone();
    EndProgressLine();
    printf("%-40s %10s  created %s  accessed %s  written %s\n", Display(record.output_name).c_str(),
           std::to_string(record.file_size).c_str(), UtcText(record.creation_time).c_str(),
           UtcText(record.last_access_time).c_str(), UtcText(record.last_write_time).c_str());
  }
};

struct DecodeOptions {
  const char* archive = nullptr;
  const char* output = nullptr;
  Overwrite overwrite = Overwrite::kAsk;
  PasswordSource password;
  Encoding encoding;
  unsigned threads = parallel::DefaultThreadCount();
};

// Empty when the options are usable, else what is wrong with them.
std::string ParseOptions(int argc, char** argv, bool extract, DecodeOptions* options) {
  bool overwrite_given = false;
  for (int i = 0; i < argc; ++i) {
    const char* name = argv[i];
    auto value = [&](const char** target) {
      if (i + 1 >= argc) return false;
      *target = argv[++i];
      return true;
    };
    auto policy = [&](Overwrite overwrite) {
      if (overwrite_given && options->overwrite != overwrite) return false;
      overwrite_given = true;
      options->overwrite = overwrite;
      return true;
    };
    if (extract && strcmp(name, "--output") == 0) {
      if (!value(&options->output)) return "--output needs a folder";
    } else if (extract && strcmp(name, "--overwrite") == 0) {
      if (!policy(Overwrite::kReplace)) return "--overwrite and --keep exclude each other";
    } else if (extract && strcmp(name, "--keep") == 0) {
      if (!policy(Overwrite::kKeep)) return "--overwrite and --keep exclude each other";
    } else if (strcmp(name, "--password-file") == 0) {
      if (!value(&options->password.file)) return "--password-file needs a file";
    } else if (strcmp(name, "--password") == 0) {
      if (!value(&options->password.text)) return "--password needs the password";
    } else if (strcmp(name, "--encoding") == 0) {
      const char* encoding = nullptr;
      if (!value(&encoding) || !ParseEncoding(encoding, &options->encoding)) {
        return "--encoding needs auto, UTF-8 or a Windows code page the system knows, such as CP932 or CP1252";
      }
    } else if (strcmp(name, "--threads") == 0) {
      const char* count = nullptr;
      if (!value(&count) || !parallel::ParseThreadCount(count, &options->threads)) {
        return "--threads needs a whole number from 1 to 256";
      }
    } else if (name[0] == '-') {
      return std::string("no option ") + name;
    } else if (options->archive) {
      return std::string("one archive only: ") + name;
    } else {
      options->archive = name;
    }
  }
  if (!options->archive) return "which archive?";
  if (extract && !options->output) return "--output DIR says where the files go";
  return "";
}

int RunDecode(int argc, char** argv, bool extract) {
  const char* command = extract ? "extract" : "list";
  if (PrintHelpIfAsked(argc, argv, extract ? kExtractHelp : kListHelp)) return kExitOk;
  DecodeOptions options;
  const std::string problem = ParseOptions(argc, argv, extract, &options);
  if (!problem.empty()) return UsageError(command, problem);
  static archive::SharedState state;
  if (!LocateArchive(options.archive, &state)) return kExitArchive;
  std::string password;
  if (!ReadPassword(options.password, &password)) return kExitUsage;
  ArchiveTexts texts;
  if (!ResolveArchiveTexts(state, options.encoding, password, &texts)) return kExitUsage;
  std::unique_ptr<decode::BlockSource> source = parallel::MakeBlockSource(options.threads);
  auto run = [&](TerminalSink& sink) {
    return sink.ExitCode(decode::DecodeWalk(state, texts.password.data(),
                                            static_cast<uint32_t>(texts.password.size()), sink, *source));
  };
  if (!extract) {
    ListSink sink(state, texts.code_page);
    return run(sink);
  }
  ExtractSink sink(state, texts.code_page, options.output, options.overwrite);
  return run(sink);
}

}  // namespace

int RunExtract(int argc, char** argv) { return RunDecode(argc, argv, true); }
int RunList(int argc, char** argv) { return RunDecode(argc, argv, false); }

}  // namespace cli
