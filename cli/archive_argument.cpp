#include "cli/archive_argument.h"

#include <cstdio>
#include <cstring>

#include "archive/locate_scan.h"
#include "ui/texts.h"

namespace cli {

bool LocateArchive(const char* path, archive::SharedState* state) {
  if (strlen(path) >= static_cast<size_t>(archive::kPathCapacity)) {
    fprintf(stderr, "kelvarin: the archive path is longer than %d characters\n", archive::kPathCapacity - 1);
    return false;
  }
  archive::CopyText(state->archive_path, archive::kPathCapacity, path);
  state->entry_offset = archive::LocateFirstEntry(state->archive_path);
  if (state->entry_offset == -1) {
    printf("%s\n", ui::Text(ui::TextId::kNotArchive, ui::Language::kEnglish));
    return false;
  }
  return true;
}

}  // namespace cli
