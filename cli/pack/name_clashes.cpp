#include "cli/pack/name_clashes.h"

#include <map>

#include "platform/text_codes.h"

namespace cli {
namespace {

// The name as Windows compares it; as it is where the system cannot say.
std::string Folded(const std::string& name) {
  std::string upper;
  return platform::UpperCase(name, &upper) ? upper : name;
}

}  // namespace

NameClash FindNameClash(const std::vector<std::string>& names) {
  NameClash clash;
  std::map<std::string, size_t> files;  // folded name -> first index
  for (size_t i = 0; i < names.size(); ++i) {
    const auto [at, added] = files.emplace(Folded(names[i]), i);
    if (added) continue;
    clash.kind = names[at->second] == names[i] ? ClashKind::kSameName : ClashKind::kSameButCase;
    clash.first = at->second;
    clash.second = i;
    return clash;
  }
  // Every folder part of every name ("\a" and "\a\b" of "\a\b\c"); in
  // UTF-8 a backslash byte is always a backslash.
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string folded = Folded(names[i]);
    for (size_t end = folded.find('\\', 1); end != std::string::npos; end = folded.find('\\', end + 1)) {
      const auto file = files.find(folded.substr(0, end));
      if (file == files.end()) continue;
      clash = {ClashKind::kFileWhereFolder, file->second, i};
      return clash;
    }
  }
  return clash;
}

}  // namespace cli
