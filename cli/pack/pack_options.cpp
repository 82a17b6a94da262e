#include "cli/pack/pack_options.h"

#include <cerrno>
#include <cstdlib>

#include "cli/commands/option_parser.h"
#include "cli/sinks/path_names.h"
#include "encoder/entry_encoder.h"
#include "platform/console.h"
#include "platform/os.h"

namespace cli {
namespace {

bool ParseNumber(const char* text, int base, long long low, long long high, long long& value) {
  errno = 0;
  char* end = nullptr;
  value = strtoll(text, &end, base);
  return errno == 0 && end != text && *end == '\0' && value >= low && value <= high;
}

// An option whose value is a number from low to high, in base.
template <class Number>
Option NumberOption(const char* name, int base, long long low, long long high, Number* target, bool* given = nullptr) {
  const char* what = base == 16 ? "a hexadecimal number" : "a number";
  return {name, nullptr, what, [=](const char* text) {
            long long number = 0;
            if (!ParseNumber(text, base, low, high, number)) {
              return std::string(name) + " needs " + what + " from " + std::to_string(low) + " to " + std::to_string(high);
            }
            *target = static_cast<Number>(number);
            if (given) *given = true;
            return std::string();
          }};
}

Option TextOption(const char* name, const char* what, std::string* target, bool* given = nullptr) {
  return {name, nullptr, what, [=](const char* text) {
            *target = text;
            if (given) *given = true;
            return std::string();
          }};
}

std::vector<Option> PackOptionTable(PackOptions& options) {
  return {
      Flag("--relative", nullptr, &options.relative), Flag("--overwrite", nullptr, &options.overwrite),
      Flag("--quiet", "-q", &options.quiet), TextOption("--stub", "a file", &options.stub),
      TextOption("--output", "a file", &options.output),
      TextOption("--caption", "a text", &options.caption, &options.caption_given),
      {"--password-file", nullptr, "a file", [&options](const char* file) { options.password.file = file; return std::string(); }},
      {"--password", nullptr, "the password", [&options](const char* text) { options.password.text = text; return std::string(); }},
      {"--encoding", nullptr, "a code page", [&options](const char* name) {
         return ParseEncoding(name, &options.encoding) ? std::string() : std::string("cannot use --encoding ") + name;
       }},
      NumberOption("--flags", 0, 0, 255, &options.flags),
      NumberOption("--suicide", 10, -128, 127, &options.suicide_mode),
      NumberOption("--block-size", 10, encoder::kMinBlockSize, encoder::kMaxBlockSize, &options.block_size),
      NumberOption("--serial", 16, 0, UINT32_MAX, &options.serial),
      NumberOption("--time", 10, 0, UINT32_MAX, &options.encoding_time, &options.time_given),
  };
}

// Returns false with a message in error for anything it cannot take.
bool ParsePackArguments(int argc, char** argv, PackOptions& options, std::string& error) {
  error = cli::ParseArguments(argc, argv, PackOptionTable(options), [&options](const char* file) {
    options.files.push_back(file);
    return std::string();
  });
  if (!error.empty()) return false;
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

std::string BaseName(const std::string& path) {
  const std::string name = path.substr(NameStart(path));
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

bool ParsePackOptions(int argc, char** argv, PackOptions& options, std::string& error) {
  if (!ParsePackArguments(argc, argv, options, error)) return false;
  if (options.stub.empty()) {
    std::string where_looked;
    options.stub = InstalledStub(where_looked);
    if (options.stub.empty()) {
      error = "no --stub, and no decoder.exe at " + where_looked;
      return false;
    }
  }
  if (!options.caption_given) options.caption = BaseName(options.output);
  return true;
}

}  // namespace cli
