// `kelvarin pack`: the reference encoder on the command line. Each FILE
// becomes one entry of a new archive behind the given stub.
#include <sys/stat.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/pack_sources.h"
#include "cli/password_input.h"
#include "encoder/archive_writer.h"
#include "encoder/entry_encoder.h"

namespace cli {
namespace {

constexpr const char* kPackUsage =
    "usage: kelvarin pack --stub STUB --output OUT.exe [options] FILE...\n"
    "  --caption TEXT        title of the decoder's dialog (default: the output's name)\n"
    "  --flags N             entry flags: 1 open after decode, 2 password saving,\n"
    "                        4 show encoder information\n"
    "  --suicide N           suicide mode, -128 to 127 (default 2)\n"
    "  --block-size N        plain bytes per data block (default 16384)\n"
    "  --relative            store names as \\dir\\file below the current folder;\n"
    "                        a FILE that is a folder packs every file below it\n"
    "  --serial HEX          encoder serial (default 4B454C56)\n"
    "  --time SECONDS        encoding time since 1970 (default: now)\n"
    "  --password-file FILE  the password is the file's first line\n"
    "  --password TEXT       the password itself; visible to other users of this\n"
    "                        computer, so for scripts only\n"
    "Without a password option the password is asked for on the terminal.\n";

constexpr uint32_t kDefaultSerial = 0x4B454C56;
constexpr uint32_t kAttributeReadOnly = 0x01;
constexpr uint32_t kAttributeArchive = 0x20;
// FILETIME counts 100-nanosecond steps from 1601; Unix time seconds from 1970.
constexpr uint64_t kFiletimeUnixEpoch = 116444736000000000ull;

struct PackOptions {
  std::string stub;
  std::string output;
  std::string caption;
  bool caption_given = false;
  unsigned char flags = 0;
  int8_t suicide_mode = 2;
  uint32_t block_size = 16384;
  bool relative = false;
  uint32_t serial = kDefaultSerial;
  uint32_t encoding_time = 0;
  bool time_given = false;
  PasswordSource password;
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
    if (name.rfind("--", 0) != 0) {
      options.files.push_back(name);
      continue;
    }
    if (name == "--relative") {
      options.relative = true;
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
  if (options.stub.empty() || options.output.empty() || options.files.empty()) {
    error = "--stub, --output and at least one FILE are needed";
    return false;
  }
  return true;
}

uint64_t ToFiletime(const timespec& t) {
  return kFiletimeUnixEpoch + static_cast<uint64_t>(t.tv_sec) * 10000000ull + static_cast<uint64_t>(t.tv_nsec) / 100;
}

// The entry for one file: its bytes, times and attributes from the file
// system, the rest from the options.
bool MakeEntry(const PackSource& source, const PackOptions& options, encoder::Entry& entry) {
  struct stat info;
  if (stat(source.path.c_str(), &info) != 0) return false;
  entry.contents = encoder::ReadWholeFile(source.path);
  if (entry.contents.size() != static_cast<uint64_t>(info.st_size)) return false;
  entry.header.flags = options.flags;
  entry.header.suicide_mode = options.suicide_mode;
  entry.header.caption = options.caption;
  archive::FileRecord& record = entry.record;
  snprintf(record.output_name, sizeof record.output_name, "%s", source.output_name.c_str());
  record.attributes = (info.st_mode & S_IWUSR) ? kAttributeArchive : kAttributeReadOnly;
  record.last_write_time = ToFiletime(info.st_mtim);
  record.last_access_time = ToFiletime(info.st_atim);
  record.creation_time = record.last_write_time;
  record.encoder_serial = options.serial;
  record.encoding_time = options.time_given ? options.encoding_time : static_cast<uint32_t>(time(nullptr));
  return true;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

int Problem(const std::string& message) {
  fprintf(stderr, "kelvarin pack: %s\n", message.c_str());
  return kExitProblem;
}

}  // namespace

int RunPack(int argc, char** argv) {
  if (argc == 1 && strcmp(argv[0], "--help") == 0) {
    fputs(kPackUsage, stdout);
    return kExitOk;
  }
  PackOptions options;
  std::string error;
  if (!ParsePackOptions(argc, argv, options, error)) {
    fprintf(stderr, "kelvarin pack: %s\n%s", error.c_str(), kPackUsage);
    return kExitUsage;
  }
  if (!options.caption_given) options.caption = BaseName(options.output);

  std::vector<PackSource> sources;
  if (!CollectPackSources(options.files, options.relative, sources, error)) return Problem(error);
  std::string password;
  if (!ReadPassword(options.password, &password)) return kExitProblem;
  const encoder::PasswordProblem password_problem = encoder::CheckPassword(password);
  if (password_problem != encoder::PasswordProblem::kNone) {
    return Problem(encoder::PasswordProblemText(password_problem));
  }
  encoder::Bytes stub = encoder::ReadWholeFile(options.stub);
  if (stub.empty()) return Problem("cannot read the stub " + options.stub);

  encoder::ArchiveWriter writer(std::move(stub));
  const encoder::EntryOptions entry_options{options.block_size, 0x00, encoder::BlockForm::kSmallest};
  for (const PackSource& source : sources) {
    encoder::Entry entry;
    if (!MakeEntry(source, options, entry)) return Problem("cannot read " + source.path);
    const encoder::EncodeError failure = encoder::AddEntry(writer, entry, password, entry_options);
    if (failure != encoder::EncodeError::kNone) return Problem(source.path + ": " + encoder::EncodeErrorText(failure));
  }
  if (!writer.WriteTo(options.output)) return Problem("cannot write " + options.output);
  printf("%s: %zu %s, %zu bytes\n", options.output.c_str(), sources.size(), sources.size() == 1 ? "entry" : "entries",
         writer.bytes().size());
  return kExitOk;
}

}  // namespace cli
