#include "cli/pack_options.h"

#include <cerrno>
#include <cstdlib>

#include "cli/path_names.h"
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

// Returns false with a message in error for anything it cannot take.
bool ParseArguments(int argc, char** argv, PackOptions& options, std::string& error) {
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

std::string BaseName(const std::string& path) {
  const std::string name = path.substr(NameStart(path));
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

bool ParsePackOptions(int argc, char** argv, PackOptions& options, std::string& error) {
  if (!ParseArguments(argc, argv, options, error)) return false;
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
