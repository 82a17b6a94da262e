#include "cli/pack_sources.h"

#include <algorithm>
#include <filesystem>
#include <system_error>


namespace cli {
namespace fs = std::filesystem;
namespace {

bool OutputName(const fs::path& path, bool relative, std::string& name, std::string& error) {
  if (relative) {
    std::error_code ec;
    const fs::path below = fs::absolute(path, ec).lexically_normal().lexically_relative(fs::current_path(ec));
    const std::string text = below.generic_string();
    if (ec || text.empty() || text == "." || text.rfind("..", 0) == 0) {
      error = path.string() + ": not below the current folder, so it has no relative name";
      return false;
    }
    name = "\\" + text;
    std::replace(name.begin(), name.end(), '/', '\\');
  } else {
    name = path.filename().string();
  }
  return true;
}

bool AddSource(const fs::path& path, bool relative, std::vector<PackSource>& sources, std::string& error) {
  PackSource source{path.string(), {}};
  if (!OutputName(path, relative, source.output_name, error)) return false;
  sources.push_back(std::move(source));
  return true;
}

}  // namespace

bool CollectPackSources(const std::vector<std::string>& arguments, bool relative, std::vector<PackSource>& sources,
                        std::string& error) {
  for (const std::string& argument : arguments) {
    std::error_code ec;
    const fs::path path(argument);
    if (fs::is_directory(path, ec)) {
      if (!relative) {
        error = argument + ": a folder can only be packed with --relative";
        return false;
      }
      std::vector<fs::path> files;
      for (const auto& item : fs::recursive_directory_iterator(path, ec)) {
        if (item.is_regular_file(ec)) files.push_back(item.path());
      }
      if (ec) {
        error = argument + ": " + ec.message();
        return false;
      }
      std::sort(files.begin(), files.end());
      for (const fs::path& file : files) {
        if (!AddSource(file, relative, sources, error)) return false;
      }
    } else if (fs::is_regular_file(path, ec)) {
      if (!AddSource(path, relative, sources, error)) return false;
    } else {
      error = argument + ": no such file";
      return false;
    }
  }
  return true;
}

}  // namespace cli
