// `kelvarin pack`: the reference encoder on the command line. Each FILE
// becomes one entry of a new archive behind the given stub, or behind the
// decoder.exe installed with the tool. Files are read, sealed and written
// a block at a time, so memory stays flat whatever their size; the archive
// appears under its name only when it is complete.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "cli/commands.h"
#include "cli/file_content.h"
#include "cli/help_texts.h"
#include "cli/messages.h"
#include "cli/pack_sources.h"
#include "cli/pack_output.h"
#include "cli/path_names.h"
#include "cli/password_input.h"
#include "cli/progress_line.h"
#include "cli/text_encoding.h"
#include "archive/file_record.h"
#include "decode/destination_paths.h"
#include "encoder/archive_writer.h"
#include "encoder/entry_encoder.h"
#include "platform/console.h"
#include "platform/file.h"

namespace cli {
namespace {

constexpr uint32_t kDefaultSerial = 0x4B454C56;
constexpr uint64_t kProgressThreshold = 4 * 1024 * 1024;  // show progress above this many bytes

struct PackOptions {
  std::string stub;
  std::string output;
  std::string caption;
  bool caption_given = false;
  unsigned char flags = 0;
  int8_t suicide_mode = 2;
  uint32_t block_size = 16384;
  bool relative = false;
  bool overwrite = false;
  bool quiet = false;
  uint32_t serial = kDefaultSerial;
  uint32_t encoding_time = 0;
  bool time_given = false;
  PasswordSource password;
  Encoding encoding;
  std::vector<std::string> files;
};

bool ParseNumber(const char* text, int base, long long low, long long high, long long& value) {
  errno = 0;
  char* end = nullptr;
  value = strtoll(text, &end, base);
  return errno == 0 && end != text && *end == '\0' && value >= low && value <= high;
}

// Returns false with a message in error for anything it cannot take.
bool ParsePackOptions(int argc, char** argv, PackOptions& options, std::string& error) {
  for (int i = 0; i < argc; ++i) {
    const std::string name = argv[i];
    if (name.rfind("--", 0) != 0 && name != "-q") {
      options.files.push_back(name);
      continue;
    }
    if (name == "--relative" || name == "--overwrite" || name == "--quiet" || name == "-q") {
      (name == "--relative" ? options.relative : name == "--overwrite" ? options.overwrite : options.quiet) = true;
      continue;
    }
    if (i + 1 >= argc) {
      error = name + " needs a value";
      return false;
    }
    const char* value = argv[++i];
    long long number = 0;
    if (name == "--stub") {
      options.stub = value;
    } else if (name == "--output") {
      options.output = value;
    } else if (name == "--caption") {
      options.caption = value;
      options.caption_given = true;
    } else if (name == "--password-file") {
      options.password.file = value;
    } else if (name == "--password") {
      options.password.text = value;
    } else if (name == "--encoding" && ParseEncoding(value, &options.encoding)) {
    } else if (name == "--flags" && ParseNumber(value, 0, 0, 255, number)) {
      options.flags = static_cast<unsigned char>(number);
    } else if (name == "--suicide" && ParseNumber(value, 10, -128, 127, number)) {
      options.suicide_mode = static_cast<int8_t>(number);
    } else if (name == "--block-size" && ParseNumber(value, 10, encoder::kMinBlockSize, encoder::kMaxBlockSize, number)) {
      options.block_size = static_cast<uint32_t>(number);
    } else if (name == "--serial" && ParseNumber(value, 16, 0, UINT32_MAX, number)) {
      options.serial = static_cast<uint32_t>(number);
    } else if (name == "--time" && ParseNumber(value, 10, 0, UINT32_MAX, number)) {
      options.encoding_time = static_cast<uint32_t>(number);
      options.time_given = true;
    } else {
      error = "cannot use " + name + " " + value;
      return false;
    }
  }
  if (options.output.empty() || options.files.empty()) {
    error = "--output and at least one FILE are needed";
    return false;
  }
  return true;
}

// The decoder.exe installed with the tool: in share/kelvarin beside the
// program's bin folder, or in the program's own folder (Windows). Empty
// when there is none; where looked in where_looked.
std::string InstalledStub(std::string& where_looked) {
  char program[4096];
  if (!platform::ProgramPath(program, sizeof program)) {
    where_looked = "the program's folder, which the system does not tell";
    return "";
  }
  const std::string folder = FolderOf(program);
  const std::string candidates[] = {folder + ".." + platform::kPathSeparator + "share" + platform::kPathSeparator +
                                        "kelvarin" + platform::kPathSeparator + "decoder.exe",
                                    folder + "decoder.exe"};
  for (const std::string& candidate : candidates) {
    if (platform::OsPathExists(candidate.c_str())) return candidate;
  }
  where_looked = candidates[0] + " or " + candidates[1];
  return "";
}

// One file's entry: its header and record (its name in the archive's code
// page) and its size, as the file system tells them before the file is
// read. False with the reason when the file cannot be looked at.
struct PackEntry {
  encoder::EntryHeaderFields header;
  archive::FileRecord record;
  uint64_t size = 0;
};

bool DescribeEntry(const PackSource& source, const std::string& stored_name, const PackOptions& options,
                   PackEntry& entry, std::string& reason) {
  platform::FileTimes times;
  std::error_code ec;
  entry.size = std::filesystem::file_size(source.path, ec);
  if (ec || !platform::OsGetFileTimes(source.path.c_str(), &times, &entry.record.attributes)) {
    reason = "cannot read: " + (ec ? ec.message() : SystemReason());
    return false;
  }
  entry.header.flags = options.flags;
  entry.header.suicide_mode = options.suicide_mode;
  entry.header.caption = options.caption;
  archive::FileRecord& record = entry.record;
  snprintf(record.output_name, sizeof record.output_name, "%s", stored_name.c_str());
  record.last_write_time = times.last_write;
  record.last_access_time = times.last_access;
  record.creation_time = times.creation;
  record.encoder_serial = options.serial;
  record.encoding_time = options.time_given ? options.encoding_time : static_cast<uint32_t>(time(nullptr));
  return true;
}

// A usage problem when the output would overwrite one of the files it is
// made from.
std::string OutputIsAnInput(const PackOptions& options, const std::vector<PackSource>& sources) {
  std::error_code ec;
  const std::filesystem::path output(options.output);
  if (std::filesystem::equivalent(output, options.stub, ec)) return "--output " + options.output + " is the stub";
  for (const PackSource& source : sources) {
    if (std::filesystem::equivalent(output, source.path, ec)) {
      return "--output " + options.output + " is also a FILE to pack (" + source.path + ")";
    }
  }
  return "";
}

std::string BaseName(const std::string& path) {
  const std::string name = path.substr(NameStart(path));
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

int Problem(const std::string& subject, const std::string& message, int status = kExitArchive) {
  Complain(subject, message);
  return status;
}

// The code page that names, caption and password are stored in: the one
// asked for, or by the auto rule the first of CP1252 and CP932 that holds
// every name. False (said) when a name fits no code page tried.
bool ChooseCodePage(const std::vector<PackSource>& sources, const Encoding& encoding, uint32_t* code_page) {
  std::vector<std::string> names;
  for (const PackSource& source : sources) names.push_back(source.output_name);
  size_t misfit = 0;
  *code_page = encoding.automatic() ? ChooseWritingCodePage(names, &misfit) : encoding.code_page;
  if (*code_page != 0) return true;
  Complain(sources[misfit].path, "its name can be written neither in CP1252 nor in CP932; rename it, or name a "
                                 "code page that holds it with --encoding");
  return false;
}

// The decoder writes only names that Windows can make.
bool WindowsCanHold(const std::string& stored_name, bool relative, uint32_t code_page) {
  const base::LeadBytes lead = base::LeadBytes::OfCodePage(code_page);
  return relative ? decode::IsSafeRelativeName(stored_name.c_str(), lead, decode::PathStyle::kWindows)
                  : decode::IsSafePlainName(stored_name.c_str(), lead, decode::PathStyle::kWindows);
}

// text in the archive's code page, or false (said) when it does not fit.
bool Stored(uint32_t code_page, const std::string& text, const std::string& what, std::string* stored) {
  if (Utf8ToStored(code_page, text, stored)) return true;
  Complain(what, "cannot be written in " + CodePageName(code_page) + ", the archive's code page (--encoding)");
  return false;
}

}  // namespace

int RunPack(int argc, char** argv) {
  if (PrintHelpIfAsked(argc, argv, kPackHelp)) return kExitOk;
  PackOptions options;
  std::string error;
  if (!ParsePackOptions(argc, argv, options, error)) return UsageError("pack", error);
  if (options.stub.empty()) {
    std::string where_looked;
    options.stub = InstalledStub(where_looked);
    if (options.stub.empty()) return UsageError("pack", "no --stub, and no decoder.exe at " + where_looked);
  }
  if (!options.caption_given) options.caption = BaseName(options.output);

  std::vector<PackSource> sources;
  if (!CollectPackSources(options.files, options.relative, sources, error)) return Problem("pack", error);
  uint32_t code_page = 0;
  if (!ChooseCodePage(sources, options.encoding, &code_page)) return kExitArchive;
  std::vector<std::string> stored_names(sources.size());
  for (size_t i = 0; i < sources.size(); ++i) {
    if (!Stored(code_page, sources[i].output_name, sources[i].path + ": its name", &stored_names[i])) return kExitArchive;
    if (stored_names[i].size() >= static_cast<size_t>(archive::kOutputNameCapacity)) {
      return Problem(sources[i].path, "the stored name would exceed 259 bytes");
    }
    if (!WindowsCanHold(stored_names[i], options.relative, code_page)) {
      return Problem(sources[i].path, "Windows cannot make a file of this name (a control character or a device name)");
    }
  }
  std::string caption;
  if (!Stored(code_page, options.caption, "the caption", &caption)) return kExitArchive;
  options.caption = caption;
  error = OutputIsAnInput(options, sources);
  if (!error.empty()) return UsageError("pack", error);
  // Every file is looked at before anything is read or written: one that
  // is too large for the format is refused from its size. Each is opened
  // only when its turn comes, so that any number of files can be packed.
  std::vector<PackEntry> entries(sources.size());
  uint64_t total = 0;
  for (size_t i = 0; i < sources.size(); ++i) {
    if (!DescribeEntry(sources[i], stored_names[i], options, entries[i], error)) return Problem(sources[i].path, error);
    if (entries[i].size > UINT32_MAX) {
      return Problem(sources[i].path, "is " + std::to_string(entries[i].size) +
                                          " bytes; an entry holds at most 4294967295 (4 GiB - 1)");
    }
    total += entries[i].size;
  }
  std::string typed;
  if (!ReadPassword(options.password, &typed)) return kExitUsage;
  std::string password;
  if (!Stored(code_page, typed, "the password", &password)) return kExitArchive;
  const encoder::PasswordProblem password_problem = encoder::CheckPassword(password);
  if (password_problem != encoder::PasswordProblem::kNone) {
    return Problem("pack", encoder::PasswordProblemText(password_problem));
  }
  const encoder::EntryOptions entry_options{options.block_size, 0x00, encoder::BlockForm::kSmallest};
  for (size_t i = 0; i < sources.size(); ++i) {
    const encoder::EncodeError failure = encoder::CheckEntry(entries[i].header, entries[i].size, password, entry_options);
    if (failure != encoder::EncodeError::kNone) return Problem(sources[i].path, encoder::EncodeErrorText(failure));
  }
  encoder::Bytes stub = encoder::ReadWholeFile(options.stub);
  if (stub.empty()) return Problem(options.stub, "cannot read the stub");
  if (!options.overwrite && platform::OsPathExists(options.output.c_str())) {
    return Problem(options.output, "exists; not replaced (--overwrite replaces it)", kExitOutput);
  }

  PackOutput output;
  if (!output.Create(options.output, &error)) return Problem(options.output, "cannot write the archive: " + error, kExitOutput);
  if (!output.Append(encoder::ArchiveStart(std::move(stub)))) {
    return Problem(options.output, "cannot write the archive: " + output.reason(), kExitOutput);
  }
  ProgressLine progress("Packing...", total, !options.quiet && platform::ErrorIsTerminal() && total > kProgressThreshold);
  // The progress line goes before a message; the staged archive goes
  // with `output`.
  auto fail = [&](const std::string& subject, const std::string& message, int status = kExitArchive) {
    progress.End();
    return Problem(subject, message, status);
  };
  for (size_t i = 0; i < sources.size(); ++i) {
    platform::File file = platform::File::OpenRead(sources[i].path.c_str());
    if (!file.IsOpen()) return fail(sources[i].path, "cannot read: " + SystemReason());
    FileContent content(std::move(file), progress);
    const encoder::EncodeError failure = encoder::EncodeEntry(entries[i].header, entries[i].record, entries[i].size,
                                                              content, output, password, entry_options);
    if (failure == encoder::EncodeError::kOutputFailed) {
      return fail(options.output, "cannot write the archive: " + output.reason(), kExitOutput);
    }
    if (failure != encoder::EncodeError::kNone) return fail(sources[i].path, encoder::EncodeErrorText(failure));
    if (!content.AtEnd()) return fail(sources[i].path, "it grew while it was read");
  }
  progress.End();
  if (!output.Commit(options.overwrite, &error)) {
    return Problem(options.output, "cannot put the archive in place: " + error, kExitOutput);
  }
  const size_t count = sources.size();
  if (!options.quiet) {
    printf("%s: %s %s, %s bytes\n", options.output.c_str(), std::to_string(count).c_str(),
           count == 1 ? "entry" : "entries", std::to_string(output.size()).c_str());
  }
  return kExitOk;
}

}  // namespace cli
