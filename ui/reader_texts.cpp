#include "ui/reader_texts.h"

#include "ui/text_pair.h"

namespace ui {
namespace {

constexpr TextPair kReaderTexts[] = {
#include "ui/reader_texts_table.inc"
};
static_assert(sizeof kReaderTexts / sizeof kReaderTexts[0] == static_cast<int>(ReaderTextId::kCount));

}  // namespace

const char* ReaderText(ReaderTextId id, Language language) {
  return FormFor(kReaderTexts[static_cast<int>(id)], language);
}

}  // namespace ui
