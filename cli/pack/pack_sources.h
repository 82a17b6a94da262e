// The files that `pack` stores, each with the output name its entry
// carries: the base name, or with --relative a path below the current
// folder written "\dir\file". A folder stands for every file below it.
//
// The inputs are walked as extract walks its output: nothing is left out
// without a word. What is neither a regular file nor a folder, a folder
// that cannot be read, a link that leads nowhere, out of the folders
// being packed or round in a loop, and a name that holds a backslash
// (which Windows would take for a separator) each stop the walk with a
// problem that names it. A link named on the command line is followed:
// the user named it. A link met below a folder is followed when what it
// leads to lies below one of the folders named.
#pragma once

#include <string>
#include <vector>

namespace cli {

struct PackSource {
  std::string path;         // as the file is opened here
  std::string output_name;  // as the decoder will see it
};

// What stopped the walk: the path it is about, and why.
struct PackInputProblem {
  std::string path;
  std::string reason;
};

// Fills sources in the order given, the files below a folder sorted by
// path. False with the problem when an input cannot be taken (see above),
// a folder is given without relative names, or a relative name would
// leave the current folder. Output names are as the file system gives
// them (UTF-8 where names are).
bool CollectPackSources(const std::vector<std::string>& arguments, bool relative, std::vector<PackSource>& sources,
                        PackInputProblem& problem);

}  // namespace cli
