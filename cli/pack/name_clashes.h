// Output names that Windows would take for one: the same name twice, two
// names that differ only in the case of their letters (Windows ignores
// it), and a file's name where another entry needs a folder. An archive
// with such names would have the decoder write one file over another, or
// fail to make a folder.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace cli {

enum class ClashKind { kNone, kSameName, kSameButCase, kFileWhereFolder };

struct NameClash {
  ClashKind kind = ClashKind::kNone;
  size_t first = 0;   // the earlier name; for kFileWhereFolder the file
  size_t second = 0;  // the later one; for kFileWhereFolder the one below
};

// The first clash among names ("\dir\file" or plain, UTF-8), or kNone.
NameClash FindNameClash(const std::vector<std::string>& names);

}  // namespace cli
