#include "cli/commands/option_parser.h"

#include <cstring>

namespace cli {
namespace {

const Option* Find(const std::vector<Option>& options, const char* argument) {
  for (const Option& option : options) {
    if (strcmp(argument, option.name) == 0 || (option.alias && strcmp(argument, option.alias) == 0)) return &option;
  }
  return nullptr;
}

}  // namespace

std::string ParseArguments(int argc, char** argv, const std::vector<Option>& options,
                           const std::function<std::string(const char* argument)>& plain) {
  bool options_ended = false;
  for (int i = 0; i < argc; ++i) {
    const char* argument = argv[i];
    std::string problem;
    if (!options_ended && strcmp(argument, "--") == 0) {
      options_ended = true;
    } else if (options_ended || argument[0] != '-' || argument[1] == '\0') {
      problem = plain(argument);  // "-" alone names standard input
    } else if (const Option* option = Find(options, argument)) {
      if (option->value && i + 1 >= argc) return std::string(option->name) + " needs " + option->value;
      problem = option->take(option->value ? argv[++i] : nullptr);
    } else {
      problem = std::string("no option ") + argument;
    }
    if (!problem.empty()) return problem;
  }
  return "";
}

Option Flag(const char* name, const char* alias, bool* flag) {
  return {name, alias, nullptr, [flag](const char*) {
            *flag = true;
            return std::string();
          }};
}

}  // namespace cli
