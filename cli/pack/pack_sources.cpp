#include "cli/pack/pack_sources.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "cli/texts/file_kinds.h"
#include "cli/texts/messages.h"
#include "cli/texts/text_encoding.h"
#include "platform/file_state.h"
#include "platform/os.h"

namespace cli {
namespace fs = std::filesystem;
namespace {

// True when path lies in folder or below it; both are canonical.
bool IsWithin(const fs::path& path, const fs::path& folder) {
  const fs::path below = path.lexically_relative(folder);
  return !below.empty() && *below.begin() != "..";
}

// What a link says, as a message may show it.
std::string LinkText(const fs::path& link) {
  std::error_code ec;
  return Printable(fs::read_symlink(link, ec).string());
}

class InputWalk {
 public:
  InputWalk(bool relative, std::vector<fs::path> roots, std::vector<PackSource>& sources, PackInputProblem& problem)
      : relative_(relative), roots_(std::move(roots)), sources_(sources), problem_(problem) {}

  // A command-line argument: a file, or a folder and all below it.
  bool Add(const fs::path& path) {
    const platform::PathKind kind = platform::OsPathKind(path.string().c_str());
    if (kind == platform::PathKind::kFile) return AddFile(path);
    if (kind != platform::PathKind::kFolder) return Refuse(path, WhatItIs(path, kind));
    if (!relative_) return Refuse(path, "is a folder, which can only be packed with --relative");
    std::error_code ec;
    std::vector<fs::path> chain = {fs::canonical(path, ec)};
    return AddFolder(path, chain);
  }

 private:
  bool Refuse(const fs::path& path, const std::string& reason) {
    problem_ = {path.string(), reason};
    return false;
  }

  // Why path, of this kind, is neither a file nor a folder to pack.
  static std::string WhatItIs(const fs::path& path, platform::PathKind kind) {
    const std::string system_reason = SystemReason();
    std::error_code ec;
    if (kind == platform::PathKind::kNone && fs::is_symlink(fs::symlink_status(path, ec))) {
      return "is a symbolic link to " + LinkText(path) + ", which does not exist";
    }
    if (kind == platform::PathKind::kNone) return system_reason;
    if (kind == platform::PathKind::kLinkLoop) return "is a loop of symbolic links";
    return "is " + KindWords(kind) + ", neither a file nor a folder";
  }

  // The files of a folder, then its folders' files, each folder's items
  // sorted by name. chain holds the folders walked down to here, canonical.
  bool AddFolder(const fs::path& folder, std::vector<fs::path>& chain) {
    std::error_code ec;
    std::vector<fs::path> items;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) items.push_back(it->path());
    if (ec) return Refuse(folder, "cannot read the folder: " + ec.message());
    std::sort(items.begin(), items.end());
    for (const fs::path& item : items) {
      if (!AddItem(item, chain)) return false;
    }
    return true;
  }

  // What a folder holds: a link is followed only within the roots.
  bool AddItem(const fs::path& item, std::vector<fs::path>& chain) {
    const platform::PathKind kind = platform::OsPathKind(item.string().c_str());
    const bool usable = kind == platform::PathKind::kFile || kind == platform::PathKind::kFolder;
    if (!usable) return Refuse(item, WhatItIs(item, kind));
    std::error_code ec;
    const bool link = fs::is_symlink(fs::symlink_status(item, ec));
    if (kind == platform::PathKind::kFile && !link) return AddFile(item);
    const fs::path target = fs::canonical(item, ec);
    if (ec) return Refuse(item, "cannot be followed: " + ec.message());
    if (link && !LeadsInside(target)) {
      return Refuse(item, "is a symbolic link to " + LinkText(item) + ", outside the folders being packed");
    }
    if (kind == platform::PathKind::kFile) return AddFile(item);
    if (std::find(chain.begin(), chain.end(), target) != chain.end()) {
      return Refuse(item, "leads back to " + Printable(target.string()) + ", a folder it is in: a loop");
    }
    chain.push_back(target);
    const bool added = AddFolder(item, chain);
    chain.pop_back();
    return added;
  }

  bool LeadsInside(const fs::path& target) const {
    return std::any_of(roots_.begin(), roots_.end(), [&](const fs::path& root) { return IsWithin(target, root); });
  }

  bool AddFile(const fs::path& path) {
    PackSource source{path.string(), {}};
    if (!OutputName(path, source.output_name)) return false;
    sources_.push_back(std::move(source));
    return true;
  }

  bool OutputName(const fs::path& path, std::string& name) {
    std::string text = path.filename().string();
    if (relative_) {
      std::error_code ec;
      text = fs::absolute(path, ec).lexically_normal().lexically_relative(fs::current_path(ec)).generic_string();
      if (ec || text.empty() || text == "." || text.rfind("..", 0) == 0) {
        return Refuse(path, "is not below the current folder, so it has no relative name");
      }
    }
    // Here a backslash is part of a name; in the archive it would part it.
    if (!platform::kWindowsPaths && text.find('\\') != std::string::npos) {
      return Refuse(path, "its name holds a backslash, which Windows takes for a folder separator");
    }
    name = relative_ ? "\\" + text : text;
    std::replace(name.begin(), name.end(), '/', '\\');
    return true;
  }

  const bool relative_;
  const std::vector<fs::path> roots_;  // the folders named, canonical
  std::vector<PackSource>& sources_;
  PackInputProblem& problem_;
};

}  // namespace

bool CollectPackSources(const std::vector<std::string>& arguments, bool relative, std::vector<PackSource>& sources,
                        PackInputProblem& problem) {
  std::vector<fs::path> roots;
  for (const std::string& argument : arguments) {
    std::error_code ec;
    if (platform::OsPathKind(argument.c_str()) == platform::PathKind::kFolder) {
      roots.push_back(fs::canonical(argument, ec));
    }
  }
  InputWalk walk(relative, std::move(roots), sources, problem);
  for (const std::string& argument : arguments) {
    if (!walk.Add(argument)) return false;
  }
  return true;
}

}  // namespace cli
