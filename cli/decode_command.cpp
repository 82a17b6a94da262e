// `kelvarin extract ARCHIVE --output DIR [NAME...]`, `kelvarin extract
// --stdout ARCHIVE NAME` and `kelvarin list ARCHIVE`: the decode walk with
// the entries going into one folder, to standard output, or nowhere.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cli/archive_argument.h"
#include "cli/archive_texts.h"
#include "cli/commands.h"
#include "cli/entry_selection.h"
#include "cli/extract_sink.h"
#include "cli/help_texts.h"
#include "cli/list_sink.h"
#include "cli/messages.h"
#include "cli/password_input.h"
#include "cli/stdout_sink.h"
#include "cli/terminal_sink.h"
#include "cli/text_encoding.h"
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

// Empty when the options are usable, else what is wrong with them.
std::string ParseOptions(int argc, char** argv, bool extract, DecodeOptions* options) {
  bool overwrite_given = false;
  bool options_ended = false;  // after "--", every argument is a name
  for (int i = 0; i < argc; ++i) {
    const char* name = argv[i];
    if (!options_ended && strcmp(name, "--") == 0) {
      options_ended = true;
      continue;
    }
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
    if (options_ended || name[0] != '-' || name[1] == '\0') {
      if (!options->archive) {
        options->archive = name;
      } else if (extract) {
        options->selection.Add(name);
      } else {
        return std::string("one archive only: ") + name;
      }
    } else if (extract && strcmp(name, "--output") == 0) {
      if (!value(&options->output)) return "--output needs a folder";
    } else if (extract && strcmp(name, "--overwrite") == 0) {
      if (!policy(Overwrite::kReplace)) return "--overwrite and --keep exclude each other";
    } else if (extract && strcmp(name, "--keep") == 0) {
      if (!policy(Overwrite::kKeep)) return "--overwrite and --keep exclude each other";
    } else if (extract && strcmp(name, "--stdout") == 0) {
      options->to_stdout = true;
    } else if (!extract && strcmp(name, "--json") == 0) {
      options->json = true;
    } else if (strcmp(name, "--quiet") == 0 || strcmp(name, "-q") == 0) {
      options->quiet = true;
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
    } else {
      return std::string("no option ") + name;
    }
  }
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
