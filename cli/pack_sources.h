// The files that `pack` stores, each with the output name its entry
// carries: the base name, or with --relative a path below the current
// folder written "\dir\file". A folder stands for every file below it.
#pragma once

#include <string>
#include <vector>

namespace cli {

struct PackSource {
  std::string path;         // as the file is opened here
  std::string output_name;  // as the decoder will see it
};

// Fills sources in the order given, the files below a folder sorted by
// path. False with a message in error when an argument is no file, a
// folder is given without relative names, or a relative name would leave
// the current folder. Output names are UTF-8, as the file system gives them.
bool CollectPackSources(const std::vector<std::string>& arguments, bool relative, std::vector<PackSource>& sources,
                        std::string& error);

}  // namespace cli
