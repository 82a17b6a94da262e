// `kelvarin extract ARCHIVE --output DIR [NAME...]`, `kelvarin extract
// --stdout ARCHIVE NAME` and `kelvarin list ARCHIVE`: the decode walk with
// the entries going into one folder, to standard output, or nowhere.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cli/commands/archive_argument.h"
#include "cli/texts/archive_texts.h"
#include "cli/commands/commands.h"
#include "cli/sinks/entry_selection.h"
#include "cli/sinks/extract_sink.h"
#include "cli/help_texts.h"
#include "cli/sinks/list_sink.h"
#include "cli/texts/messages.h"
#include "cli/commands/option_parser.h"
#include "cli/texts/password_input.h"
#include "cli/sinks/stdout_sink.h"
#include "cli/sinks/terminal_sink.h"
#include "cli/texts/text_encoding.h"
#include "parallel/parallel_block_source.h"

namespace cli {
namespace {

struct DecodeOptions {
  const char* archive = nullptr;
  const char* output = nullptr;
  Overwrite overwrite = Overwrite::kAsk;
  PasswordSource password;
  Encoding encoding;
  unsigned threads = parallel::DefaultThreadCount();
  EntrySelection selection;  // extract: the NAMEs after the archive
  bool to_stdout = false;
  bool json = false;
  bool quiet = false;
};

constexpr const char* kEncodings = "auto, UTF-8 or a Windows code page the system knows, such as CP932 or CP1252";
const std::string kThreadCounts = "a whole number from 1 to " + std::to_string(parallel::kMaxThreads);

std::string Needs(const char* option, bool given, const std::string& what) {
  return given ? "" : std::string(option) + " needs " + what;
}

// The options list and extract share.
std::vector<Option> SharedOptions(DecodeOptions* options) {
  return {
      Flag("--quiet", "-q", &options->quiet),
      {"--password-file", nullptr, "a file", [options](const char* file) { options->password.file = file; return std::string(); }},
      {"--password", nullptr, "the password", [options](const char* text) { options->password.text = text; return std::string(); }},
      {"--encoding", nullptr, kEncodings, [options](const char* name) {
         return Needs("--encoding", ParseEncoding(name, &options->encoding), kEncodings);
       }},
      {"--threads", nullptr, kThreadCounts.c_str(), [options](const char* count) {
         return Needs("--threads", parallel::ParseThreadCount(count, &options->threads), kThreadCounts);
       }},
  };
}

// extract's own options; --overwrite and --keep exclude each other.
void AddExtractOptions(DecodeOptions* options, bool* overwrite_given, std::vector<Option>* table) {
  auto policy = [options, overwrite_given](Overwrite overwrite) {
    if (*overwrite_given && options->overwrite != overwrite) return std::string("--overwrite and --keep exclude each other");
    *overwrite_given = true;
    options->overwrite = overwrite;
    return std::string();
  };
  table->push_back({"--output", nullptr, "a folder", [options](const char* folder) { options->output = folder; return std::string(); }});
  table->push_back({"--overwrite", nullptr, nullptr, [policy](const char*) { return policy(Overwrite::kReplace); }});
  table->push_back({"--keep", nullptr, nullptr, [policy](const char*) { return policy(Overwrite::kKeep); }});
  table->push_back(Flag("--stdout", nullptr, &options->to_stdout));
}

// Empty when the options are usable, else what is wrong with them.
std::string ParseOptions(int argc, char** argv, bool extract, DecodeOptions* options) {
  bool overwrite_given = false;
  std::vector<Option> table = SharedOptions(options);
  if (extract) {
    AddExtractOptions(options, &overwrite_given, &table);
  } else {
    table.push_back(Flag("--json", nullptr, &options->json));
  }
  const std::string problem = ParseArguments(argc, argv, table, [&](const char* argument) {
    if (!options->archive) {
      options->archive = argument;
    } else if (extract) {
      options->selection.Add(argument);
    } else {
      return std::string("one archive only: ") + argument;
    }
    return std::string();
  });
  if (!problem.empty()) return problem;
  if (!options->archive) return "which archive?";
  if (options->to_stdout && options->output) return "--stdout and --output exclude each other";
  if (options->to_stdout && options->selection.Empty()) return "--stdout needs the NAME of the entry to write";
  if (extract && !options->to_stdout && !options->output) return "--output DIR says where the files go";
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
  if (const int status = ResolveArchiveTexts(state, options.encoding, password, &texts); status != kExitOk) return status;
  std::unique_ptr<decode::BlockSource> source = parallel::MakeBlockSource(options.threads);
  auto run = [&](TerminalSink& sink) {
    return sink.ExitCode(decode::DecodeWalk(state, texts.password.data(),
                                            static_cast<uint32_t>(texts.password.size()), sink, *source));
  };
  if (!extract) {
    ListSink sink(state, texts.code_page, options.json ? ListFormat::kJson : ListFormat::kText, options.quiet);
    return run(sink);
  }
  int status;
  if (options.to_stdout) {
    StdoutSink sink(state, texts.code_page, options.selection, options.quiet);
    status = run(sink);
  } else {
    ExtractSink sink(state, texts.code_page, options.output, options.overwrite, options.selection, options.quiet);
    status = run(sink);
  }
  // A name that matched nothing was asked for in vain; a run that ended
  // early may simply not have reached its entry, and has said why.
  const std::vector<std::string> unused = options.selection.Unused();
  for (const std::string& name : unused) Complain(options.archive, "no entry matches " + name);
  return status == kExitOk && !unused.empty() ? kExitArchive : status;
}
}  // namespace

int RunExtract(int argc, char** argv) { return RunDecode(argc, argv, true); }
int RunList(int argc, char** argv) { return RunDecode(argc, argv, false); }

}  // namespace cli
