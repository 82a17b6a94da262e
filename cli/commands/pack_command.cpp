// `kelvarin pack`: the reference encoder on the command line. Each FILE
// becomes one entry of a new archive behind the given stub, or behind the
// decoder.exe installed with the tool. Everything that can be checked is
// checked before the archive is begun: the inputs, their names, sizes and
// the stub. Files are then read, sealed and written a block at a time, so
// memory stays flat whatever their size; the archive appears under its
// name only when it is complete, and not at all when a file changed while
// it was read.
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "archive/file_record.h"
#include "cli/commands/commands.h"
#include "cli/pack/file_content.h"
#include "cli/texts/file_kinds.h"
#include "cli/help_texts.h"
#include "cli/texts/messages.h"
#include "cli/pack/pack_names.h"
#include "cli/pack/pack_options.h"
#include "cli/pack/pack_output.h"
#include "cli/pack/pack_sources.h"
#include "cli/texts/password_input.h"
#include "cli/texts/progress_line.h"
#include "cli/texts/text_encoding.h"
#include "encoder/archive_writer.h"
#include "encoder/entry_encoder.h"
#include "encoder/stub_check.h"
#include "platform/console.h"
#include "platform/file.h"
#include "platform/file_state.h"

namespace cli {
namespace {

namespace fs = std::filesystem;


int Problem(const std::string& subject, const std::string& message, int status = kExitArchive) {
  Complain(subject, message);
  return status;
}

encoder::EntryOptions EntryOptionsOf(const PackOptions& options) {
  return {options.block_size, 0x00, encoder::BlockForm::kSmallest};
}

// One file's entry: its header and record (its name in the archive's code
// page), and the file as it was when looked at, before the archive was
// begun: its size, and its stamp to compare with when it has been read.
struct PackEntry {
  encoder::EntryHeaderFields header;
  archive::FileRecord record;
  platform::FileStamp stamp;
};

// False with the reason when the file cannot be opened or looked at.
bool DescribeEntry(const PackSource& source, const std::string& stored_name, const PackOptions& options,
                   PackEntry& entry, std::string& reason) {
  platform::FileTimes times;
  const platform::File file = platform::File::OpenRead(source.path.c_str());
  if (!file.IsOpen() || !platform::OsFileStamp(file.os(), &entry.stamp) ||
      !platform::OsGetFileTimes(source.path.c_str(), &times, &entry.record.attributes)) {
    reason = "cannot read: " + SystemReason();
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

// text in the archive's code page, or false (said) when it does not fit.
bool Stored(uint32_t code_page, const std::string& text, const std::string& what, std::string* stored) {
  if (Utf8ToStored(code_page, text, stored)) return true;
  Complain(what, "cannot be written in " + CodePageName(code_page) + ", the archive's code page (--encoding)");
  return false;
}

// The inputs walked and named, the caption in the archive's code page;
// 0 or the status of the problem, which has been said.
int CollectInputs(PackOptions& options, std::vector<PackSource>& sources, StoredNames& stored) {
  PackInputProblem problem;
  if (!CollectPackSources(options.files, options.relative, sources, problem) ||
      !MakeStoredNames(sources, options.encoding, options.relative, &stored, &problem)) {
    return Problem(problem.path, problem.reason + "; nothing was packed");
  }
  std::string caption;
  if (!Stored(stored.code_page, options.caption, "the caption", &caption)) return kExitArchive;
  options.caption = caption;
  std::error_code ec;
  const fs::path output(options.output);
  if (fs::equivalent(output, options.stub, ec)) return UsageError("pack", "--output " + options.output + " is the stub");
  for (const PackSource& source : sources) {
    if (fs::equivalent(output, source.path, ec)) {
      return UsageError("pack", "--output " + options.output + " is also a FILE to pack (" + source.path + ")");
    }
  }
  return kExitOk;
}

// Every file is looked at before anything is read or written: one that is
// too large for the format is refused from its size. Each is opened again
// only when its turn comes, so that any number of files can be packed.
int DescribeEntries(const PackOptions& options, const std::vector<PackSource>& sources, const StoredNames& stored,
                    std::vector<PackEntry>& entries, uint64_t* total) {
  entries.resize(sources.size());
  *total = 0;
  std::string reason;
  for (size_t i = 0; i < sources.size(); ++i) {
    if (!DescribeEntry(sources[i], stored.names[i], options, entries[i], reason)) return Problem(sources[i].path, reason);
    if (entries[i].stamp.size > encoder::kLargestFile) {
      return Problem(sources[i].path, "is " + std::to_string(entries[i].stamp.size) + " bytes; an entry holds at most " +
                                          std::to_string(encoder::kLargestFile) + " (4 GiB - 1)");
    }
    *total += entries[i].stamp.size;
  }
  return kExitOk;
}

// The password as typed, in the archive's code page, and fit to seal with.
int ReadPackPassword(const PackOptions& options, uint32_t code_page, std::string* password) {
  std::string typed;
  if (!ReadPassword(options.password, &typed)) return kExitUsage;
  if (!Stored(code_page, typed, "the password", password)) return kExitArchive;
  const encoder::PasswordProblem problem = encoder::CheckPassword(*password);
  if (problem != encoder::PasswordProblem::kNone) return Problem("pack", encoder::PasswordProblemText(problem));
  return kExitOk;
}

// The stub's bytes, when they are a Windows program that hides no marker.
int ReadStub(const std::string& path, encoder::Bytes* stub) {
  const std::string not_a_file = NotAFile(path.c_str());
  if (!not_a_file.empty()) return Problem(path, not_a_file);
  *stub = encoder::ReadWholeFile(path);
  if (stub->empty()) return Problem(path, "cannot read the stub");
  size_t offset = 0;
  const encoder::StubProblem problem = encoder::CheckStub(*stub, &offset);
  if (problem == encoder::StubProblem::kNone) return kExitOk;
  const std::string text = encoder::StubProblemText(problem);
  if (problem == encoder::StubProblem::kNotWindowsProgram) return Problem(path, text);
  return Problem(path, text + " at offset " + std::to_string(offset) +
                           ", where the decoder would take the archive to begin");
}

// What stands at the output's name, the name itself (a link is replaced,
// never followed): nothing, or a file to replace with --overwrite.
int CheckOutputPlace(const PackOptions& options) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(options.output, ec);
  if (!fs::exists(status)) return kExitOk;
  if (fs::is_directory(status)) return Problem(options.output, "is a folder; the archive needs a file's name", kExitOutput);
  if (!fs::is_regular_file(status) && !fs::is_symlink(status)) {
    return Problem(options.output, "is " + KindWords(platform::OsPathKind(options.output.c_str())) +
                                       ", not a regular file; pack replaces only files", kExitOutput);
  }
  if (!options.overwrite) return Problem(options.output, "exists; not replaced (--overwrite replaces it)", kExitOutput);
  return kExitOk;
}

// Streams every entry into the staged archive and puts it in place.
int WriteArchive(const PackOptions& options, const std::vector<PackSource>& sources,
                 const std::vector<PackEntry>& entries, uint64_t total, const std::string& password,
                 encoder::Bytes stub) {
  PackOutput output;
  std::string error;
  if (!output.Create(options.output, &error)) return Problem(options.output, "cannot write the archive: " + error, kExitOutput);
  if (!output.Append(encoder::ArchiveStart(std::move(stub)))) {
    return Problem(options.output, "cannot write the archive: " + output.reason(), kExitOutput);
  }
  ProgressLine progress("Packing... %3d %%", total, options.quiet);
  // The progress line goes before a message; the staged archive goes with `output`.
  auto fail = [&](const std::string& subject, const std::string& message, int status = kExitArchive) {
    progress.End();
    return Problem(subject, message, status);
  };
  const encoder::EntryOptions entry_options = EntryOptionsOf(options);
  for (size_t i = 0; i < sources.size(); ++i) {
    platform::File file = platform::File::OpenRead(sources[i].path.c_str());
    if (!file.IsOpen()) return fail(sources[i].path, "cannot read: " + SystemReason());
    FileContent content(std::move(file), progress);
    const encoder::EncodeError failure = encoder::EncodeEntry(entries[i].header, entries[i].record, entries[i].stamp.size,
                                                              content, output, password, entry_options);
    if (failure == encoder::EncodeError::kOutputFailed) {
      return fail(options.output, "cannot write the archive: " + output.reason(), kExitOutput);
    }
    if (!content.Unchanged(entries[i].stamp)) {
      return fail(sources[i].path, "changed while it was read; nothing was packed (run pack again when it is still)");
    }
    if (failure != encoder::EncodeError::kNone) return fail(sources[i].path, encoder::EncodeErrorText(failure));
  }
  progress.End();
  if (!output.Commit(options.overwrite, &error)) {
    return Problem(options.output, "cannot put the archive in place: " + error, kExitOutput);
  }
  if (!options.quiet) {
    printf("%s: %zu %s, %s bytes\n", Printable(options.output).c_str(), sources.size(),
           sources.size() == 1 ? "entry" : "entries", std::to_string(output.size()).c_str());
  }
  return kExitOk;
}

}  // namespace

int RunPack(int argc, char** argv) {
  if (PrintHelpIfAsked(argc, argv, kPackHelp)) return kExitOk;
  PackOptions options;
  std::string error;
  if (!ParsePackOptions(argc, argv, options, error)) return UsageError("pack", error);
  std::vector<PackSource> sources;
  StoredNames stored;
  int status = CollectInputs(options, sources, stored);
  std::vector<PackEntry> entries;
  uint64_t total = 0;
  if (status == kExitOk) status = DescribeEntries(options, sources, stored, entries, &total);
  std::string password;
  if (status == kExitOk) status = ReadPackPassword(options, stored.code_page, &password);
  const encoder::EntryOptions entry_options = EntryOptionsOf(options);
  for (size_t i = 0; status == kExitOk && i < sources.size(); ++i) {
    const encoder::EncodeError failure =
        encoder::CheckEntry(entries[i].header, entries[i].stamp.size, password, entry_options);
    if (failure != encoder::EncodeError::kNone) status = Problem(sources[i].path, encoder::EncodeErrorText(failure));
  }
  encoder::Bytes stub;
  if (status == kExitOk) status = ReadStub(options.stub, &stub);
  if (status == kExitOk) status = CheckOutputPlace(options);
  if (status != kExitOk) return status;
  return WriteArchive(options, sources, entries, total, password, std::move(stub));
}

}  // namespace cli
