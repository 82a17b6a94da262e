#include "cli/commands/archive_argument.h"

#include <cstring>
#include <string>

#include "archive/locate_scan.h"
#include "base/bounded_text.h"
#include "cli/texts/file_kinds.h"
#include "platform/os.h"
#include "cli/texts/messages.h"
#include "platform/file.h"
#include "ui/texts.h"

namespace cli {

bool LocateArchive(const char* path, archive::SharedState* state) {
  if (strlen(path) >= static_cast<size_t>(platform::kPathCapacity)) {
    Complain(path, "the path is longer than " + std::to_string(platform::kPathCapacity - 1) + " characters");
    return false;
  }
  // The locate scan says only "no archive"; a file that cannot be read at
  // all deserves the true reason: what it is, or the system's words.
  const std::string not_a_file = NotAFile(path);
  if (!not_a_file.empty()) {
    Complain(path, not_a_file);
    return false;
  }
  if (!platform::File::OpenRead(path).IsOpen()) {
    Complain(path, SystemReason());
    return false;
  }
  base::CopyText(state->archive_path, platform::kPathCapacity, path);
  state->entry_offset = archive::LocateFirstEntry(state->archive_path);
  if (state->entry_offset == -1) {
    Complain(path, ui::Text(ui::TextId::kNotArchive, ui::Language::kEnglish));
    return false;
  }
  return true;
}

}  // namespace cli
