// The words that only the readers of archives away from the program say,
// in English and Japanese (Shift-JIS), from the same generator as the
// program's texts. Kept apart so that the program carries none of them.
#pragma once

#include "ui/texts.h"

namespace ui {

enum class ReaderTextId {
#include "ui/reader_text_ids.inc"
  kCount
};

const char* ReaderText(ReaderTextId id, Language language);

}  // namespace ui
