#include "cli/archive_argument.h"

#include <cstdio>
#include <cstring>

#include "archive/locate_scan.h"
#include "base/bounded_text.h"
#include "base/paths.h"
#include "ui/texts.h"

namespace cli {

bool LocateArchive(const char* path, archive::SharedState* state) {
  if (strlen(path) >= static_cast<size_t>(base::kPathCapacity)) {
    fprintf(stderr, "kelvarin: the archive path is longer than %d characters\n", base::kPathCapacity - 1);
    return false;
  }
  base::CopyText(state->archive_path, base::kPathCapacity, path);
  state->entry_offset = archive::LocateFirstEntry(state->archive_path);
  if (state->entry_offset == -1) {
    printf("%s\n", ui::Text(ui::TextId::kNotArchive, ui::Language::kEnglish));
    return false;
  }
  return true;
}

}  // namespace cli
