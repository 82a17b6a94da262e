// The one way the tool's commands read their arguments: options from a
// table, each with its value when it takes one, "--" ending the options,
// and everything else handed over as a plain argument (an archive, a NAME,
// a FILE). A problem comes back as the text the usage error shows.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace cli {

struct Option {
  const char* name;                // "--output"
  const char* alias;               // "-q", or nullptr
  const char* value;               // what its value is ("a folder"), or nullptr for a flag
  // Takes the value (nullptr for a flag); empty, or what is wrong with it.
  std::function<std::string(const char* value)> take;
};

// Empty when every argument was taken, else the first problem: "no option
// -x", "--output needs a folder", or what an option or `plain` said.
std::string ParseArguments(int argc, char** argv, const std::vector<Option>& options,
                           const std::function<std::string(const char* argument)>& plain);

// An option that sets a flag.
Option Flag(const char* name, const char* alias, bool* flag);

}  // namespace cli
